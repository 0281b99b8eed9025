#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lobex {

// Our strings are UTF-8; std::filesystem needs to be told so on platforms whose narrow
// encoding is something else.
inline std::filesystem::path Utf8Path(std::string_view text) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

inline std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

} // namespace lobex
