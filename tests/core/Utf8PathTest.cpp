#include "core/Utf8Path.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lobex {
namespace {

namespace fs = std::filesystem;

TEST(Utf8Path, NamesComeBackAsTheBytesTheyWere) {
    // Latin-1 "café" (not UTF-8), UTF-8 Cyrillic, and a lone continuation byte.
    const std::vector<std::string> names = {
        "caf\xe9.csv", "\xd0\xb4\xd0\xb0\xd0\xbd\xd0\xbd\xd1\x8b\xd0\xb5.csv", "x\x80y.png"};
    for (const std::string& name : names) {
        EXPECT_EQ(PathToUtf8(Utf8Path(name)), name);
    }

    test::TempFolder folder;
    for (const std::string& name : names) {
        std::ofstream(Utf8Path(folder.Path().string() + "/" + name)) << "data";
    }
    std::vector<std::string> found;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(Utf8Path(folder.Path().string()))) {
        found.push_back(PathToUtf8(entry.path().filename()));
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
}

} // namespace
} // namespace lobex
