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

TEST(FontResolver, FontCarriesSizeWeightAndStyle) {
    FontSpec wanted;
    wanted.points = 10.0;
    wanted.weight = 700;
    wanted.italic = true;
    const QFont font = MakeFont(wanted, 0.5);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 5.0);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(font.family(), ResolveFontFamily(QStringLiteral("MS Sans Serif")));
}

} // namespace
} // namespace lobex::plotter
