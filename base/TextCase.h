// File names lower-cased and ordered as the system does it.
//
// On Windows: CharLowerBuffA in the system's code page, and an order that
// takes a double-byte character of that code page as one character, valued
// lead byte * 256 + trail byte, and orders single bytes as unsigned bytes.
// Elsewhere (qxmtool on Linux, the native tests): the rules of Windows-1252,
// ASCII letters and the accented capitals of the upper half, in byte order.
#pragma once

#include <string>
#include <string_view>

namespace qx {

std::string LowerCase(std::string_view text);

// Negative, zero or positive as a sorts before, with or after b.
int CompareNames(std::string_view a, std::string_view b);

}  // namespace qx
