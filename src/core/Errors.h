#pragma once

#include <stdexcept>
#include <string>

namespace lobex {

// A run-time error inside an operation. Operations catch it themselves and report its
// description (what()) the way the operation documents; it never crosses into the UI.
class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace lobex
