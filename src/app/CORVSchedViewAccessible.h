#pragma once
// What the accessibility layer (and through it a screen reader) learns of a group window: the
// view is a list whose children are the item boxes, each with its name, its state in words
// ("In use" or "Free" as its value, the status bar's sentence as its description) and two
// actions, "open day list" and "show menu". The legend follows the boxes.
//
// The view calls install() once; Qt then makes the interface when a reader first asks and deletes
// it with the view. tellFocus() and tellStateChange() send the events a reader follows.

#include <QAccessible>
#include <QAccessibleWidget>

#include <vector>

namespace orv {

class CORVSchedView;

class CORVSchedViewAccessible : public QAccessibleWidget {
public:
    static constexpr const char* kOpenDayList = "open day list";
    static constexpr const char* kShowMenu = "show menu";

    explicit CORVSchedViewAccessible(CORVSchedView* view);
    ~CORVSchedViewAccessible() override;

    static void install();
    // The keyboard's item moved to box `index` while the view has the focus.
    static void tellFocus(CORVSchedView* view, int index);
    // Box `index` went from free to in use or back.
    static void tellStateChange(CORVSchedView* view, int index);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;

private:
    CORVSchedView* view() const;
    int boxCount() const;

    // The boxes' interfaces, made when first asked for and kept, as readers expect one
    // interface per box; registered with Qt, removed with this one.
    mutable std::vector<QAccessible::Id> m_boxes;
};

} // namespace orv
