#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "palette/PaletteCatalogue.h"

namespace qx {
namespace {

std::vector<std::string> FileNames(const PaletteCatalogue& catalogue) {
    std::vector<std::string> names;
    for (const PaletteEntry& e : catalogue.entries()) names.push_back(e.fileName);
    return names;
}

TEST(PaletteCatalogue, EntryNameIsLowerCasedAndCutAtTheFirstExtension) {
    // "duck.qxm.qxm" reads duck.qxm, not the file found; the cut ignores what
    // follows; a name starting with the extension is kept whole, however
    // often it recurs; accented capitals lower-case too.
    const std::pair<const char*, const char*> cases[] = {
        {"Wave.QXM", "wave"}, {"duck.qxm.qxm", "duck"}, {"a.qxmbak", "a"}, {".qxm", ".qxm"}, {".qxm.qxm", ".qxm.qxm"},
        {"\xC9T\xC9.QXM", "\xE9t\xE9"},
    };
    for (const auto& [found, entry] : cases) EXPECT_EQ(EntryFileName(found), entry) << found;
}

// Byte order would put "Zed" first: names compare after lower-casing, and
// as unsigned bytes, so an accented letter sorts after "z".
TEST(PaletteCatalogue, ScanSortsByLowerCasedName) {
    const std::vector<std::string> found = {"Zed.qxm", "\xE9t\xE9.qxm", "apple.qxm"};
    std::vector<FoundFile> listing;
    PaletteCatalogue scanned, oneByOne;
    for (const std::string& name : found) {
        listing.push_back({name, 0, false});
        oneByOne.AddEntry(name);
    }
    scanned.Scan(listing);
    const std::vector<std::string> sorted = {"apple", "zed", "\xE9t\xE9"};
    EXPECT_EQ(FileNames(scanned), sorted);
    EXPECT_EQ(FileNames(oneByOne), sorted);
}

// Enough equal names that an unstable sort would shuffle them: entries added
// one by one keep their order, ahead of the equal names a scan finds. A scan
// skips only files too large for 32 bits; a folder becomes an entry whose
// gesture will not read.
TEST(PaletteCatalogue, EqualNamesKeepTheOrderFound) {
    PaletteCatalogue catalogue;
    for (int i = 0; i < 40; ++i) {
        catalogue.AddEntry(i % 2 ? "Eel.qxm" : "eel.qxm.qxm");
        catalogue.SetDisplayName(i, std::to_string(i));
    }
    std::vector<FoundFile> listing(40, FoundFile{"EEL.QXM", 0, false});
    listing.insert(listing.end(), {{"huge.qxm", 1, false}, {"folder.qxm", 0, true}, {"apple.qxm", 0, false},
                                   {"vast.qxm", 0xFFFFFFFFu, false}});
    catalogue.Scan(listing);
    ASSERT_EQ(catalogue.Count(), 82);
    const auto& entries = catalogue.entries();
    EXPECT_EQ(std::tuple(entries[0].fileName, entries[81].fileName), std::tuple("apple", "folder"));
    for (int i = 0; i < 80; ++i) {
        EXPECT_EQ(std::tuple(entries[1 + i].fileName, entries[1 + i].displayName),
                  std::tuple("eel", i < 40 ? std::to_string(i) : "")) << i;
    }
}

}  // namespace
}  // namespace qx
