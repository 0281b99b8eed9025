#include "plotter/FontResolver.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

namespace lobex::plotter {
namespace {

TEST(FontResolver, MsSansSerifBecomesAnInstalledSansSerifFace) {
    const QString family = ResolveFontFamily(QStringLiteral("MS Sans Serif"));
    EXPECT_FALSE(family.isEmpty());
    EXPECT_NE(family, QStringLiteral("MS Sans Serif"));
    EXPECT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
    // It must be able to write the Russian captions.
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic))
        << family.toStdString();
}

TEST(FontResolver, AnInstalledFaceIsKept) {
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    EXPECT_EQ(ResolveFontFamily(families.front()), families.front());
    EXPECT_EQ(ResolveFontFamily(families.front().toUpper()), families.front());
}

TEST(FontResolver, AnUnknownFaceFallsBackToo) {
    const QString family = ResolveFontFamily(QStringLiteral("No Such Face 1234"));
    EXPECT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
}

TEST(FontResolver, FontCarriesSizeWeightAndStyle) {
    FontSpec spec;
    spec.points = 10.0;
    spec.weight = 700;
    spec.italic = true;
    const QFont font = MakeFont(spec, 0.5);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 5.0);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(font.family(), ResolveFontFamily(QStringLiteral("MS Sans Serif")));
}

} // namespace
} // namespace lobex::plotter
