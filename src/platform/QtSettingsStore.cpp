#include "QtSettingsStore.h"

namespace lobex {
namespace {

QString SettingPath(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Lobex"))) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

std::string QtSettingsStore::GetSetting(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) {
    return settings_->value(SettingPath(section, key), FromUtf8(defaultValue))
        .toString()
        .toStdString();
}

void QtSettingsStore::SaveSetting(std::string_view section, std::string_view key,
                                  std::string_view value) {
    settings_->setValue(SettingPath(section, key), FromUtf8(value));
    settings_->sync();
}

} // namespace lobex
