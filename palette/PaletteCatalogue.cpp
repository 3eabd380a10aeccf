#include "palette/PaletteCatalogue.h"

#include <algorithm>

#include "base/TextCase.h"

namespace qx {
namespace {

constexpr std::string_view kExtension = ".qxm";

bool NameLess(const PaletteEntry& a, const PaletteEntry& b) { return CompareNames(a.fileName, b.fileName) < 0; }

}  // namespace

std::string ScanPattern(std::string_view directory) {
    std::string pattern(directory);
    pattern += "\\*.qxm";
    return pattern;
}

std::string EntryFileName(std::string_view foundName) {
    std::string name = LowerCase(foundName);
    const std::size_t at = name.find(kExtension);
    if (at != std::string::npos && at > 0) name.resize(at);
    return name;
}

void PaletteCatalogue::Scan(std::span<const FoundFile> listing) {
    // Appending and then sorting stably gives the order one-by-one insertion
    // would, without its quadratic cost on large directories.
    const std::size_t before = entries_.size();
    for (const FoundFile& found : listing) {
        if (found.sizeHigh != 0) continue;
        entries_.push_back({EntryFileName(found.name), ""});
    }
    if (entries_.size() != before) std::stable_sort(entries_.begin(), entries_.end(), NameLess);
}

void PaletteCatalogue::AddEntry(std::string_view foundName) {
    PaletteEntry entry{EntryFileName(foundName), ""};
    const auto place = std::upper_bound(entries_.begin(), entries_.end(), entry, NameLess);
    entries_.insert(place, std::move(entry));
}

void PaletteCatalogue::SetDisplayName(int index, std::string name) {
    entries_.at(static_cast<std::size_t>(index)).displayName = std::move(name);
}

}  // namespace qx
