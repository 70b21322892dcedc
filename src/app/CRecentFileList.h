#pragma once
// The recently used group files, newest first, kept in "Recent File List" as "File1".."File4".

#include "group/CSettings.h"

#include <QString>
#include <QStringList>

namespace orv {

class CRecentFileList {
public:
    static constexpr int kSize = 4;

    explicit CRecentFileList(CSettings& store) : m_store(store) {}

    void load();
    // Puts `path` first (moving it when present) and stores the list.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& files() const { return m_files; }

    // The menu text of entry `index`: "&1 path", a long path shortened in its middle.
    static QString menuText(int index, const QString& path);

private:
    void save();

    CSettings& m_store;
    QStringList m_files;
};

} // namespace orv
