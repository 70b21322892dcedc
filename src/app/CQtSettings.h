#pragma once
// The per-user settings store of the desktop program: QSettings("Ostrand", "ORV Scheduler") in
// the native format, so $XDG_CONFIG_HOME/Ostrand/ORV Scheduler.conf. QSettings compares names
// with their case; this class finds sections and keys without regard to case and writes back
// under the spelling already in the file. Texts are native (UTF-8) strings such as paths.

#include "group/CSettings.h"

#include <QSettings>

namespace orv {

class CQtSettings : public CSettings {
public:
    CQtSettings();

    int readInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string readText(const std::string& section, const std::string& key) override;
    void writeInt(const std::string& section, const std::string& key, int value) override;
    void writeText(const std::string& section, const std::string& key,
                   const std::optional<std::string>& value) override;

    QString fileName() const { return m_settings.fileName(); }

private:
    // The full QSettings key "Section/Key" in the spelling of the file, or in the given spelling
    // when the file has neither yet.
    QString storedName(const std::string& section, const std::string& key);

    QSettings m_settings;
};

} // namespace orv
