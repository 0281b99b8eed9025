#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace lobex::plotter {

// Joins the parts of a message. (GCC 12 warns falsely about "literal" + std::string.)
inline std::string Message(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        text.append(part);
    }
    return text;
}

} // namespace lobex::plotter
