#include "app/CChildFrame.h"

#include "ui/CAppIcons.h"

#include <QDir>
#include <QFileInfo>

namespace orv {

CChildFrame::CChildFrame(QWidget* parent) : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(CAppIcons::app());
}

QString CChildFrame::canonicalGroupPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool CChildFrame::sameGroup(const QString& path) const {
    return !m_groupPath.isEmpty() && canonicalGroupPath(m_groupPath) == canonicalGroupPath(path);
}

} // namespace orv
