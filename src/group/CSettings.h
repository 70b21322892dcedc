#pragma once
// The per-user settings store: integer and text values in named sections. Section and key names
// are compared without regard to case. The desktop program keeps them with QSettings; tests and
// the command line use CMemorySettings.

#include <optional>
#include <string>

namespace orv {

class CSettings {
public:
    virtual ~CSettings() = default;
    virtual int readInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    // Empty when missing.
    virtual std::string readText(const std::string& section, const std::string& key) = 0;
    virtual void writeInt(const std::string& section, const std::string& key, int value) = 0;
    // Nothing removes the value.
    virtual void writeText(const std::string& section, const std::string& key,
                           const std::optional<std::string>& value) = 0;
};

} // namespace orv
