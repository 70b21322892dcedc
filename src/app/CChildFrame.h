#pragma once
// One group window inside the main frame. It hosts the group's main view (its widget) and knows
// the group file it shows, so that a group already open is activated instead of opened twice.
// The view tells the frame that it receives the group menu's commands with setCommandTarget().

#include <QMdiSubWindow>

namespace orv {

class CGroupCommandTarget;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr);

    // The group file path as given; sameGroup() compares canonical paths.
    const QString& groupPath() const { return m_groupPath; }
    void setGroupPath(const QString& path) { m_groupPath = path; }
    bool sameGroup(const QString& path) const;

    // Not owned; null while the window has no view.
    CGroupCommandTarget* commandTarget() const { return m_target; }
    void setCommandTarget(CGroupCommandTarget* target) { m_target = target; }

    // Canonical form of a group path for comparisons (absolute when the file is missing).
    static QString canonicalGroupPath(const QString& path);

private:
    QString m_groupPath;
    CGroupCommandTarget* m_target = nullptr;
};

} // namespace orv
