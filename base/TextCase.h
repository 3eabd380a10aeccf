// Lower-casing of file names as the system's 8-bit code page (Windows-1252)
// does it: ASCII letters and the accented capitals of the upper half.
#pragma once

#include <string>
#include <string_view>

namespace qx {

char LowerChar(char c);
std::string LowerCase(std::string_view text);

}  // namespace qx
