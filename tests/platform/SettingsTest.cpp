#include "platform/QtSettingsStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(Settings, MissingValuesGiveTheDefaultsAndWrittenOnesSurviveUnderTheirSectionAndKey) {
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("lobex.ini"));
    {
        QtSettingsStore store(ini);
        EXPECT_EQ(ReadSetting(store, kJpegQualitySetting), "75");
        WriteSetting(store, kDataPathSetting, "/home/ra3xyz/Антенны/");
        WriteSetting(store, kJpegQualitySetting, "90");
    }
    QSettings raw(ini, QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Paths/DataPath")).toString(),
              QStringLiteral("/home/ra3xyz/Антенны/"));
    EXPECT_EQ(raw.value(QStringLiteral("JPEG/Quality")).toString(), QStringLiteral("90"));
}

} // namespace
} // namespace lobex
