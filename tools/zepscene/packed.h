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

}  // namespace zepscene
