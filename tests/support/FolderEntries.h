#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace lobex::test {

// What a folder holds, names sorted: a temporary file left behind shows up here.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const std::filesystem::directory_entry& entry :
         std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace lobex::test
