// Conversion of the game's CP949 text for the desktop, at the edge only.
#pragma once
#include <string>
#include <string_view>

namespace plat {

// Bytes that do not convert become U+FFFD; never fails.
std::string Cp949ToUtf8(std::string_view cp949);
// Characters without a CP949 form become '?'.
std::string Utf8ToCp949(std::string_view utf8);

}  // namespace plat
