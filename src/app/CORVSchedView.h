#pragma once
// The main window of one open group: its items as boxes, three to a row, coloured by whether each
// is in use at this minute, kept current by a one-minute timer, and the receiver of the group
// menu's commands. The view lives in a CChildFrame (its parent widget) and shares its document
// with the other windows of the same group.
//
// Drawing coordinates are window coordinates plus the scroll position; the items' hit rectangles
// (kept by the document) are in drawing coordinates.

#include "app/CGroupCommandTarget.h"
#include "app/CViewSettings.h"
#include "displays/CItemDayOutcome.h"
#include "displays/CViewLayout.h"
#include "group/CDocObserver.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QFont>
#include <QHash>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QTextLayout>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QPainter;
class QPrinter;

namespace orv {

class CCalendarFeed;
class CReminders;
struct CDate;
class CORVSchedDoc;
struct CApplyResult;

class CORVSchedView : public QAbstractScrollArea, public CGroupCommandTarget, public CDocObserver {
    Q_OBJECT
public:
    static constexpr int kMinuteMs = 60000;
    static constexpr const char* kModifyDeleteText =
        "To modify or delete an item, right click on the item and select modify or delete";
    static constexpr const char* kOldDatabases =
        "Databases in this group were created with an older version of ORV Scheduler. Some new "
        "functions may not be available unless you convert these databases with the Database "
        "Conversion utility.";
    static constexpr const char* kOldPeopleDatabase =
        "The databases in this group are in the current format but the shared people database was "
        "created with a version of ORV Scheduler prior to Version 2.00. The attendee function has "
        "been disabled until you use the Database Conversion utility to convert the group owning "
        "the people database to the current format.";
    static constexpr const char* kOldDatabaseTitle = "Old Database Format";

    // Each view shares the document; the document goes with its last view. The settings are read
    // from the document's settings store now.
    explicit CORVSchedView(std::shared_ptr<CORVSchedDoc> doc, QWidget* parent = nullptr);
    ~CORVSchedView() override;

    CORVSchedDoc& document() { return *m_doc; }
    CReminders& reminders() { return *m_reminders; }
    const std::shared_ptr<CORVSchedDoc>& sharedDocument() const { return m_doc; }

    // Group commands.
    bool handles(Command command) const override;
    bool isEnabled(Command command) const override;
    void run(Command command) override;
    void documentChanged() override;

    // The first showing: settings to the document, stored window size, timer, old-format warnings.
    // Runs once; showing the view runs it.
    void initialUpdate();
    // One tick of the minute timer.
    void timerTick();
    // After Preferences wrote values: the document's settings again, a redraw when needed.
    void settingsApplied(const CApplyResult& result);

    // Clicks in window (viewport) coordinates.
    void leftClick(QPoint pos);
    void rightClick(QPoint pos);

    // The keyboard's item: arrows, Home, End, Page Up and Page Down move it in reading order,
    // Enter or Space opens its day list, the menu key or Shift+F10 its Modify/Delete menu, and
    // typing the first letters of an item's name jumps to that item. -1 without items.
    int focusedItem() const { return m_focused; }
    // Moves the keyboard's item (clamped to the items), scrolls it into sight and tells the
    // status bar and the accessibility layer.
    void setFocusedItem(int index);
    // The day list of item `index` for today, the box greyed while it is open.
    void openItemDay(int index);
    // The item's Modify/Delete menu at `pos` (window coordinates); nothing while groups are locked.
    void showItemMenu(int index, QPoint pos);
    // Item `index`'s box in window (viewport) coordinates; empty before the first drawing.
    QRect boxOnScreen(int index) const;
    // What item `index` is doing now, in words (see CItemStateText).
    QString stateText(int index) const;

    // Draws the view on a printer as one page.
    void printTo(QPrinter& printer);
    // Draws title and boxes with the painter's current font; `storeRects` makes the boxes the
    // items' hit rectangles (the screen does, the printer does not).
    void draw(QPainter& painter, bool storeRects);

    // State, for the frame and for tests.
    const CViewSettings& settings() const { return m_settings; }
    int highlighted() const { return m_highlighted; }
    int rightClicked() const { return m_rightClicked; }
    int timerInterval() const { return m_timerInterval; }
    bool timerActive() const { return m_timer.isActive(); }
    // The scrollable size: kInitialExtent until the first drawing.
    CViewExtent extent() const { return m_extent; }
    // Where the title was last drawn on the screen (its top left corner).
    QPoint titlePosition() const { return m_titlePos; }
    QMenu* itemMenu() const { return m_itemMenu; }
    // The item at a point in drawing coordinates, or -1.
    int itemAt(QPoint drawingPos) const;
    // What the item under a point in window (viewport) coordinates is doing now, in words: the
    // tooltip and the status bar text. Empty outside the boxes.
    QString stateTextAt(QPoint pos) const;
    // The line above the boxes that names the two box colours.
    QWidget* legend() const { return m_legend; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateScrollBars();
    // The next item after `from` (wrapping) whose name begins with `typed`, or -1.
    int itemStartingWith(const QString& typed, int from) const;
    // After a change of the schedule or the minute: the status bar and the accessibility layer
    // hear of the items whose state changed.
    void tellStateChanges();
    void makeLegend();
    void updateLegend();
    // Puts `text` in the status bar of the window that has one.
    void showStatus(const QString& text);
    void setExtent(const CViewExtent& extent);
    // `exposed`: the part of the drawing that needs painting (all of it when null).
    void drawWith(QPainter& painter, const CViewLayout& layout, bool storeRects,
                  const QRect* exposed = nullptr);
    // A box's text, cut to `width` with an ellipsis when wider, shaped once for the screen and
    // kept while the font and the width stay.
    const QTextLayout& screenText(const QString& text, const QFont& font, int width);
    QPoint scrollOffset() const;
    void trackFrame();
    void runCommand(Command command);
    // Rewrites the calendar file when it is kept and the schedule changed; a failure is told once.
    void refreshCalendarFile();
    // Reminders due now and other users' changes to the user's reservations, as desktop notices;
    // one window of a group gives them.
    void remindAndTell();
    // The day list of an item on a date (from a notice).
    void openDayList(const std::string& item, const CDate& date);
    void keepFrameInside();
    void handDocumentSettings();
    void updateFrameTitle();
    void addItem();
    void modifyGroupInformation();
    void preferences();
    void daysReservations();
    void monthsReservations();
    // How the overviews open an item's day list.
    OpenItemDay itemDayOpener();
    void print();
    void printPreview();
    void newWindow();
    void closeGroup();

    std::shared_ptr<CORVSchedDoc> m_doc;
    CViewSettings m_settings;
    std::optional<CViewLayout> m_layout;
    CViewExtent m_extent = CViewLayout::kInitialExtent;
    QPoint m_titlePos;
    int m_highlighted = -1;
    int m_rightClicked = -1;
    int m_focused = -1;
    QString m_typed;
    QElapsedTimer m_typedAt;
    // Whether each item was in use when last told; a change is told once.
    std::vector<bool> m_toldInUse;
    int m_timerInterval = 0;
    bool m_firstUpdateDone = false;
    bool m_frameSized = false;
    QTimer m_timer;
    QMenu* m_itemMenu = nullptr;
    QWidget* m_legend = nullptr;
    QString m_statusShown;
    QPointer<QWidget> m_frame;
    QRect m_frameRect;
    std::unique_ptr<CCalendarFeed> m_feed;
    std::unique_ptr<CReminders> m_reminders;
    std::string m_feedError;
    QHash<QString, std::shared_ptr<QTextLayout>> m_screenTexts;
    QFont m_screenTextFont;
    int m_screenTextWidth = 0;
};

} // namespace orv
