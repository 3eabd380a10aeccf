// The system's own rules, in its code page.
#include <windows.h>

#include "base/TextCase.h"

namespace qx {
namespace {

// The character at text[at] and how many bytes it takes: a lead byte with a
// trail byte after it is one character.
unsigned CharacterAt(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (at < text.size() && IsDBCSLeadByte(lead)) {
        return lead * 256u + static_cast<unsigned char>(text[at++]);
    }
    return lead;
}

}  // namespace

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    if (!lower.empty()) CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

int CompareNames(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned x = CharacterAt(a, i);
        const unsigned y = CharacterAt(b, j);
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    return j < b.size() ? -1 : 0;
}

}  // namespace qx
