#pragma once
// Settings kept in memory for one run: the command line's store and the tests'.

#include "group/CSettings.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace orv {

class CMemorySettings : public CSettings {
public:
    int readInt(const std::string& section, const std::string& key, int defaultValue) override {
        auto it = m_values.find(name(section, key));
        if (it == m_values.end()) return defaultValue;
        try {
            return std::stoi(it->second);
        } catch (...) {
            return defaultValue;
        }
    }
    std::string readText(const std::string& section, const std::string& key) override {
        auto it = m_values.find(name(section, key));
        return it == m_values.end() ? std::string() : it->second;
    }
    void writeInt(const std::string& section, const std::string& key, int value) override {
        m_values[name(section, key)] = std::to_string(value);
    }
    void writeText(const std::string& section, const std::string& key,
                   const std::optional<std::string>& value) override {
        if (value)
            m_values[name(section, key)] = *value;
        else
            m_values.erase(name(section, key));
    }
    bool has(const std::string& section, const std::string& key) const {
        return m_values.count(name(section, key)) != 0;
    }

private:
    static std::string name(const std::string& section, const std::string& key) {
        std::string n = section + "/" + key;
        std::transform(n.begin(), n.end(), n.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return n;
    }
    std::map<std::string, std::string> m_values;
};

} // namespace orv
