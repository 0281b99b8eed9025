#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

namespace lobex::test {

// The object of a window by its object name; fails the test when it is missing.
template <typename T>
T* Find(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << "no " << name;
    return found;
}

// What the user reads on a control, whatever kind of control it is.
inline QString CaptionOf(const QObject* object) {
    if (const auto* label = qobject_cast<const QLabel*>(object)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(object)) {
        return button->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(object)) {
        return group->title();
    }
    if (const auto* menu = qobject_cast<const QMenu*>(object)) {
        return menu->title();
    }
    if (const auto* action = qobject_cast<const QAction*>(object)) {
        return action->text();
    }
    return QStringLiteral("<no caption>");
}

} // namespace lobex::test
