#include "packed.h"

#include <cstring>
#include <stdexcept>
#include <zlib.h>

namespace zepscene {

namespace {

std::string deflated(const void* data, size_t bytes) {
    uLongf size = compressBound(uLong(bytes));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, static_cast<const Bytef*>(data), uLong(bytes), 6) !=
        Z_OK)
        throw std::runtime_error("zlib could not deflate the recorded frames");
    out.resize(size);
    return out;
}

}  // namespace

std::string base64(std::string_view bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        uint32_t group = uint32_t(uint8_t(bytes[i])) << 16;
        if (left > 1) group |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        if (left > 2) group |= uint8_t(bytes[i + 2]);
        out += kDigits[group >> 18];
        out += kDigits[(group >> 12) & 63];
        out += left > 1 ? kDigits[(group >> 6) & 63] : '=';
        out += left > 2 ? kDigits[group & 63] : '=';
    }
    return out;
}

std::string packedFloatsJson(const std::vector<float>& values, size_t stride) {
    std::vector<uint32_t> words(values.size());
    // A run without contacts has no points: an empty vector may hold no
    // buffer at all, which memcpy must not be handed.
    if (!values.empty()) std::memcpy(words.data(), values.data(), values.size() * sizeof(float));
    for (size_t i = words.size(); i-- > stride;) words[i] ^= words[i - stride];
    std::string planes(words.size() * 4, '\0');
    for (size_t i = 0; i < words.size(); ++i)
        for (size_t b = 0; b < 4; ++b) planes[b * words.size() + i] = char(words[i] >> (8 * b));
    return "{\"bytes\":" + std::to_string(planes.size()) + ",\"stride\":" + std::to_string(stride) + ",\"data\":\"" +
           base64(deflated(planes.data(), planes.size())) + "\"}";
}

std::string packedJson(const void* data, size_t bytes) {
    return "{\"bytes\":" + std::to_string(bytes) + ",\"data\":\"" + base64(deflated(data, bytes)) + "\"}";
}

}  // namespace zepscene
