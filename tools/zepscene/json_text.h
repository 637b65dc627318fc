// Text written into the page and the picture: as a JSON string literal that
// is also safe inside an HTML <script> element, or as XML/HTML text.
#pragma once

#include <string>
#include <string_view>

namespace zepscene {

std::string jsonString(std::string_view text);

// <, >, & and " as entities, for text and attribute values.
std::string escapeXml(const std::string& text);

}  // namespace zepscene
