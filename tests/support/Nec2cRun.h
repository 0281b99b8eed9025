#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace lobex::test {

// nec2c's output for a deck's text, both written in folder; the output's path.
inline std::string RunNec2c(const std::filesystem::path& folder, const std::string& deck) {
    std::ofstream(folder / "deck.nec", std::ios::binary) << deck;
    const std::string command =
        "cd '" + folder.string() + "' && nec2c -i deck.nec -o deck.out >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "nec2c is installed by scripts/setup.sh";
    return (folder / "deck.out").string();
}

} // namespace lobex::test
