#pragma once

#include "Texts.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace lobex {

// Why a computation or a reader refused its input: a marked text, and the line of the input it
// names ("%1" in the text) when it names one.
struct Rejection {
    std::string_view text;
    int line = 0;
};

// The text with the line number put in for "%1", for front ends that show the Russian text.
std::string RejectionText(const Rejection& rejection);

// A value, or the reason there is none.
template <class T>
struct Checked {
    std::optional<T> value;
    Rejection rejection;

    static Checked Accept(T v) { return {std::move(v), {}}; }
    static Checked Refuse(std::string_view text, int line = 0) {
        return {std::nullopt, {text, line}};
    }
    explicit operator bool() const { return value.has_value(); }
};

} // namespace lobex
