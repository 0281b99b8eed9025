#include "Checked.h"

namespace lobex {

std::string RejectionText(const Rejection& rejection) {
    std::string text(rejection.text);
    const std::size_t mark = text.find("%1");
    if (mark != std::string::npos) {
        text.replace(mark, 2, std::to_string(rejection.line));
    }
    return text;
}

} // namespace lobex
