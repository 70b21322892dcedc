#pragma once
// The fields of a table to be created, in order.

#include <string>
#include <vector>

namespace orv {

struct Field4infoEntry {
    std::string name; // upper case, at most 10 characters
    char type = 'C';
    int width = 0;
    int decimals = 0;
    int nullable = 0;
};

class Field4info {
public:
    // The name is upper-cased and kept to 10 characters.
    void add(const std::string& name, char type, int width, int decimals = 0, int nullable = 0);
    const std::vector<Field4infoEntry>& entries() const { return m_entries; }

private:
    std::vector<Field4infoEntry> m_entries;
};

} // namespace orv
