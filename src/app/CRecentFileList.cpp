#include "app/CRecentFileList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orv {
namespace {

std::string keyOf(int index) {
    return "File" + std::to_string(index + 1);
}

bool samePath(const QString& a, const QString& b) {
    if (a == b) return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

void CRecentFileList::load() {
    m_files.clear();
    for (int i = 0; i < kSize; ++i) {
        const std::string path = m_store.readText("Recent File List", keyOf(i));
        if (!path.empty()) m_files << QFile::decodeName(path.c_str());
    }
}

void CRecentFileList::save() {
    for (int i = 0; i < kSize; ++i) {
        if (i < m_files.size())
            m_store.writeText("Recent File List", keyOf(i),
                              QFile::encodeName(m_files[i]).toStdString());
        else
            m_store.writeText("Recent File List", keyOf(i), std::nullopt);
    }
}

void CRecentFileList::add(const QString& path) {
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (int i = m_files.size() - 1; i >= 0; --i)
        if (samePath(m_files[i], full)) m_files.removeAt(i);
    m_files.prepend(full);
    while (m_files.size() > kSize)
        m_files.removeLast();
    save();
}

void CRecentFileList::remove(const QString& path) {
    if (m_files.removeAll(path) > 0) save();
}

QString CRecentFileList::menuText(int index, const QString& path) {
    constexpr int kMaxShown = 60;
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > kMaxShown) {
        const QString name = QFileInfo(path).fileName();
        const int keep = std::max(0, kMaxShown - static_cast<int>(name.size()) - 4);
        shown = shown.left(keep) + QStringLiteral(".../") + name;
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

} // namespace orv
