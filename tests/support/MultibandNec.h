#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace lobex::test {

// A multiband dipole over perfect ground, 10 to 37 MHz in 136 steps of 0.2 MHz, each with a
// 5-degree pattern over the upper quarter sphere it is symmetric in: about 12 MB of nec2c
// output, made when needed rather than kept.
inline constexpr const char* kMultibandNecDeck = "CM Multiband dipole over perfect ground\nCE\n"
                                                 "GW 1 21 0 -5 10 0 5 10 0.001\nGE 1\nGN 1\n"
                                                 "EX 0 1 11 0 1 0\nFR 0 136 0 0 10 0.2\n"
                                                 "RP 0 19 37 1000 0 0 5 5\nEN\n";

// Runs nec2c on the deck, written beside output; false when nec2c wrote nothing there.
inline bool WriteMultibandNecOutput(const std::string& output) {
    const std::string deck = std::filesystem::path(output).replace_extension(".nec").string();
    std::ofstream(deck) << kMultibandNecDeck;
    const std::string command = "nec2c -i '" + deck + "' -o '" + output + "' >/dev/null 2>&1";
    const bool ran = std::system(command.c_str()) == 0;
    std::error_code ignored;
    std::filesystem::remove(deck, ignored);
    return ran && std::filesystem::file_size(output, ignored) > 1000;
}

} // namespace lobex::test
