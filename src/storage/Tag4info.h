#pragma once
// The index tags of a table to be created.

#include <string>
#include <vector>

namespace orv {

struct Tag4infoEntry {
    std::string name;       // upper case, at most 10 characters
    std::string expression; // key expression
    std::string filter;     // empty: every record
    int unique = 0;         // 0, res4candidate, res4unique, res4uniqueContinue, e4unique, e4candidate
    int descending = 0;     // 0 or r4descending
};

class Tag4info {
public:
    void add(const std::string& name, const std::string& expression, const std::string& filter = "",
             int unique = 0, int descending = 0);
    const std::vector<Tag4infoEntry>& entries() const { return m_entries; }
    bool empty() const { return m_entries.empty(); }

private:
    std::vector<Tag4infoEntry> m_entries;
};

} // namespace orv
