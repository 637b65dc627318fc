// Binary arrays for the page: deflated (zlib format, which the browser's
// DecompressionStream("deflate") reads) and then base64, so a long run of
// recorded floats stays small and travels inside JSON text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zepscene {

std::string base64(std::string_view bytes);

// {"bytes":N,"data":"<base64 of the deflated bytes>"}
std::string packedJson(const void* data, size_t bytes);

template <typename T>
std::string packedJson(const std::vector<T>& values) {
    return packedJson(values.data(), values.size() * sizeof(T));
}

// Floats recorded pass after pass change little from one to the next, but
// their bytes look random to deflate. Each word is first XORed with the word
// `stride` before it (the same value one pass earlier), which zeroes its sign,
// exponent and high mantissa bits, and the words' bytes are then laid out
// plane by plane (all first bytes, all second bytes, ...), so those zeros
// line up: a long run of moving movers deflates to about a third.
// {"bytes":N,"stride":S,"data":"..."}
std::string packedFloatsJson(const std::vector<float>& values, size_t stride);

}  // namespace zepscene
