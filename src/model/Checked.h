#pragma once

#include "Texts.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace lobex {

// Why a computation or a reader refused its input: a marked text, and the line and the field of
// the input it names ("%1" and "%2" in the text) when it names them.
struct Rejection {
    std::string_view text;
    int line = 0;
    int field = 0;
    friend bool operator==(const Rejection&, const Rejection&) = default;
};

// The text with the line number put in for "%1" and the field for "%2", for front ends that show
// the Russian text.
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
