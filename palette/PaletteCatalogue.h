// The palette's catalogue: one entry per gesture file of a directory, kept in
// order of lower-cased base name. The directory listing itself comes from
// the platform (FindFirstFileA / FindNextFileA on the pattern ScanPattern
// gives); the catalogue only decides what becomes an entry and where.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

struct PaletteEntry {
    std::string fileName;     // lower-cased found name, ".qxm" and what follows it cut off
    std::string displayName;  // the gesture's name; "" until its gesture has been read
};

// One item of a directory listing, as the platform's find functions report it.
struct FoundFile {
    std::string name;           // the long name
    std::uint32_t sizeHigh = 0; // high half of the 64-bit size
    bool isDirectory = false;   // not used to filter: a directory named like a gesture is listed too
};

// Placeholder initial name handed to the gesture loader for palette entries;
// the palette never shows it.
inline constexpr char kPaletteInitialName[] = "\x01";

// The find pattern for a directory: the directory as typed, then "\*.qxm".
// Nothing is trimmed, so "c:\g\" gives "c:\g\\*.qxm".
std::string ScanPattern(std::string_view directory);

// An entry's fileName for a found name: lower-cased as the system does it,
// then cut before the first ".qxm" unless that starts the name. So
// "Duck.QXM.qxm" becomes "duck" (and reads duck.qxm), ".qxm" stays ".qxm".
std::string EntryFileName(std::string_view foundName);

class PaletteCatalogue {
public:
    const std::vector<PaletteEntry>& entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }

    void Clear() { entries_.clear(); }

    // Adds every listed item whose size fits in 32 bits, in listing order.
    // The result is the same as AddEntry for each of them in turn.
    void Scan(std::span<const FoundFile> listing);

    // Inserts after every entry whose fileName is not greater (CompareNames),
    // so equal names keep the order they were added in.
    void AddEntry(std::string_view foundName);

    void SetDisplayName(int index, std::string name);

private:
    std::vector<PaletteEntry> entries_;
};

}  // namespace qx
