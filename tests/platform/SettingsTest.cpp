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
        const std::pair<SettingKey, const char*> defaults[] = {
            {kSavePathSetting, ""},         {kDataPathSetting, ""},
            {kDescPathSetting, ""},         {kJpegWidthSetting, "490"},
            {kJpegHeightSetting, "290"},    {kJpegQualitySetting, "75"},
            {kJpegProgressiveSetting, "0"}, {kJpegGrayscaleSetting, "0"},
        };
        for (const auto& [setting, expected] : defaults) {
            EXPECT_EQ(ReadSetting(store, setting), expected) << setting.key;
        }
        WriteSetting(store, kDataPathSetting, "/home/ra3xyz/Антенны/");
        WriteSetting(store, kJpegQualitySetting, "90");
    }
    QtSettingsStore reopened(ini);
    EXPECT_EQ(ReadSetting(reopened, kDataPathSetting), "/home/ra3xyz/Антенны/");
    QSettings raw(ini, QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Paths/DataPath")).toString(),
              QStringLiteral("/home/ra3xyz/Антенны/"));
    EXPECT_EQ(raw.value(QStringLiteral("JPEG/Quality")).toString(), QStringLiteral("90"));
}

} // namespace
} // namespace lobex
