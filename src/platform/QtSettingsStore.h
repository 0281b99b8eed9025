#pragma once

#include "core/Services.h"

#include <QSettings>
#include <QString>

#include <memory>

namespace lobex {

// Per-user settings in the platform's native store under the application name "Lobex"
// (the registry on Windows, an INI file under the user's config folder elsewhere).
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    // An INI file at iniPath instead of the native store; tests use this.
    explicit QtSettingsStore(const QString& iniPath);

    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace lobex
