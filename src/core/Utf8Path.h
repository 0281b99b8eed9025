#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <type_traits>

namespace lobex {

// Our strings hold file names as the system gave them. POSIX names are bytes, UTF-8 or not (a
// name in Latin-1 must still open), so there they pass through untouched; where names are
// UTF-16 (Windows), our strings are UTF-8 and std::filesystem is told so.
inline std::filesystem::path Utf8Path(std::string_view text) {
    if constexpr (std::is_same_v<std::filesystem::path::value_type, char>) {
        return std::filesystem::path(std::string(text));
    } else {
        return std::filesystem::path(
            std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
    }
}

inline std::string PathToUtf8(const std::filesystem::path& path) {
    if constexpr (std::is_same_v<std::filesystem::path::value_type, char>) {
        return path.native();
    } else {
        const std::u8string text = path.u8string();
        return std::string(reinterpret_cast<const char*>(text.data()), text.size());
    }
}

} // namespace lobex
