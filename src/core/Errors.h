#pragma once

#include "model/Checked.h"

#include <stdexcept>
#include <string>

namespace lobex {

// A run-time error inside an operation. Operations catch it themselves and report its
// description (what()) the way the operation documents; it never crosses into the UI.
class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A run-time error at a known place of the input: what() stays the description the operation
// reports, the cause says where reading stopped and why.
class InputError : public RuntimeError {
public:
    InputError(const char* what, Rejection cause) : RuntimeError(what), cause_(cause) {}
    const Rejection& Cause() const { return cause_; }

private:
    Rejection cause_;
};

} // namespace lobex
