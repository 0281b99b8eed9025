#include "plotter/FontResolver.h"

#include <QFontDatabase>
#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

namespace lobex::plotter {
namespace {

TEST(FontResolver, MissingFacesFallBackToAnInstalledOneThatWritesRussian) {
    const QStringList installed = QFontDatabase::families();
    ASSERT_FALSE(installed.isEmpty());
    for (const QString& requested : {QStringLiteral("MS Sans Serif"), QStringLiteral("No Face")}) {
        const QString family = ResolveFontFamily(requested);
        EXPECT_TRUE(installed.contains(family)) << family.toStdString();
        EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic))
            << family.toStdString();
    }
    // The bitmap face is replaced even where it is installed; other installed faces stay.
    EXPECT_NE(ResolveFontFamily(QStringLiteral("MS Sans Serif")), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(ResolveFontFamily(installed.front().toUpper()), installed.front());
}

} // namespace
} // namespace lobex::plotter
