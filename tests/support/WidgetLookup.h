#pragma once

#include <QObject>

#include <gtest/gtest.h>

namespace lobex::test {

// The object of a window by its object name; fails the test when it is missing.
template <typename T>
T* Find(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << "no " << name;
    return found;
}

} // namespace lobex::test
