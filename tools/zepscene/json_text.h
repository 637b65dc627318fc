// A JSON string literal that is also safe inside an HTML <script> element.
#pragma once

#include <string>
#include <string_view>

namespace zepscene {

std::string jsonString(std::string_view text);

}  // namespace zepscene
