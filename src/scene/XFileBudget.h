#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lobex {

// The general .x reader (Assimp) sizes its lists by the counts a file declares before it looks
// for the data behind them, and follows face indices without checking them against the list
// they index: a few hundred crafted bytes make it allocate gigabytes or read far outside its
// lists. So a file goes to it only after this scan has walked the file's data once and found
// every count backed by data in the file, every face index inside its list, and the whole
// within the limits below.
inline constexpr std::size_t kLargestXFile = 64U << 20;
inline constexpr std::size_t kMostFaceCorners = 4'000'000;
inline constexpr int kDeepestXNesting = 32;

// True when the general reader may be given bytes; otherwise error says what is wrong.
bool CheckXFileBudget(std::string_view bytes, std::string& error);

} // namespace lobex
