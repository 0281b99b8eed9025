#include "Checked.h"

#include <utility>

namespace lobex {

std::string RejectionText(const Rejection& rejection) {
    std::string text(rejection.text);
    for (const auto& [mark, number] : {std::pair{"%1", rejection.line}, {"%2", rejection.field}}) {
        const std::size_t at = text.find(mark);
        if (at != std::string::npos) {
            text.replace(at, 2, std::to_string(number));
        }
    }
    return text;
}

} // namespace lobex
