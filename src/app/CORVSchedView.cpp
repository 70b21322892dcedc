#include "app/CORVSchedView.h"

#include "app/CApplyResult.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "app/CORVSchedViewAccessible.h"
#include "app/CPeopleFileOwnerDlg.h"
#include "app/CPreferencesSheet.h"
#include "displays/CDayGlance.h"
#include "displays/CItemStateText.h"
#include "displays/CMonthGlance.h"
#include "exports/CCalendarFeedModel.h"
#include "exports/CExportModel.h"
#include "exports/CReservationImport.h"
#include "group/CCompressDatabases.h"
#include "group/CItemManager.h"
#include "group/CMergeGroups.h"
#include "group/CORVSchedDoc.h"
#include "history/CHistoryCommands.h"
#include "history/CJournalChange.h"
#include "people/CImportPeople.h"
#include "people/CPeopleCommands.h"
#include "reminders/CReminderChoiceModel.h"
#include "reminders/CReminders.h"
#include "reminders/widgets/CDesktopNotifier.h"
#include "reports/CAttendance.h"
#include "reports/CPersonReservations.h"
#include "reports/CReservationReport.h"
#include "reports/CUtilizationReport.h"
#include "reservations/CBlockoutModel.h"
#include "reservations/CDeleteRes.h"
#include "reservations/CFreeItems.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CRemoveBlockoutModel.h"
#include "storage/Code4.h"
#include "tables/CClock.h"
#include "ui/CQtPrompt.h"
#include "ui/ColorRef.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QToolTip>

#include <algorithm>
#include <map>
#include <cstdio>
#include <optional>

namespace orv {

namespace {

const QColor kTitleColor(0, 0, 255);
const QColor kHighlightColor(192, 192, 192);
// The keyboard's item is framed in the gap around its box, apart from the box's own border.
const QColor kFocusFrameColor(0, 0, 0);

// Commands that write to the group's files; a read-only group refuses them before they start.
bool changesGroup(Command command) {
    switch (command) {
    case Command::mergeGroups:
    case Command::compressDatabases:
    case Command::modifyGroupInfo:
    case Command::addItem:
    case Command::itemDelete:
    case Command::itemModify:
    case Command::peopleAdd:
    case Command::peopleModify:
    case Command::peopleDelete:
    case Command::peopleImport:
    case Command::attendeesAdd:
    case Command::attendeesModify:
    case Command::attendeesDelete:
    case Command::attendeesImport:
    case Command::specifyBlockout:
    case Command::removeBlockout:
    case Command::deleteOldReservations:
        return true;
    default:
        return false;
    }
}

// The colour chooser of a view made without the application object (tests, tools).
CColorChooser& fallbackColors() {
    static CQtPrompt prompt;
    return prompt;
}

// The window of each open group that gives its notices, so that a second window repeats none.
CORVSchedView*& remindingView(const CORVSchedDoc* doc) {
    static std::map<const CORVSchedDoc*, CORVSchedView*> views;
    return views[doc];
}

} // namespace

CORVSchedView::CORVSchedView(std::shared_ptr<CORVSchedDoc> doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(std::move(doc)) {
    m_settings = CViewSettings::read(m_doc->settingsStore());
    m_doc->addObserver(this);
    m_feed = std::make_unique<CCalendarFeed>(*m_doc);
    m_reminders = std::make_unique<CReminders>(*m_doc);

    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);

    connect(&m_timer, &QTimer::timeout, this, &CORVSchedView::timerTick);

    m_itemMenu = new QMenu(this);
    m_itemMenu->setObjectName(QStringLiteral("itemMenu"));
    for (Command c : {Command::itemDelete, Command::itemModify}) {
        const CommandInfo& info = commandInfo(c);
        QAction* a = m_itemMenu->addAction(QString::fromLatin1(info.text));
        a->setStatusTip(QString::fromLatin1(info.prompt));
        connect(a, &QAction::triggered, this, [this, c] { run(c); });
    }
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    CORVSchedViewAccessible::install();
    makeLegend();
    updateScrollBars();
}

CORVSchedView::~CORVSchedView() {
    m_timer.stop();
    if (remindingView(m_doc.get()) == this) remindingView(m_doc.get()) = nullptr;
    m_doc->removeObserver(this);
    // The frame may be half gone by now; its last rectangle was kept as it moved and resized.
    if (m_doc->isOpen() && m_frameRect.isValid()) {
        const CRect r{m_frameRect.left(), m_frameRect.top(),
                      m_frameRect.left() + m_frameRect.width(),
                      m_frameRect.top() + m_frameRect.height()};
        m_doc->storeWindowRect(r);
    }
}

// ---- Commands ----------------------------------------------------------------------------------

bool CORVSchedView::handles(Command command) const {
    switch (command) {
    case Command::closeGroup:
    case Command::print:
    case Command::printPreview:
    case Command::modifyGroupInfo:
    case Command::addItem:
    case Command::modifyDeleteItem:
    case Command::itemDelete:
    case Command::itemModify:
    case Command::preferences:
    case Command::newWindow:
    case Command::displayPeopleFileOwner:
    case Command::peopleAdd:
    case Command::peopleModify:
    case Command::peopleDelete:
    case Command::peopleList:
    case Command::attendeesAdd:
    case Command::attendeesModify:
    case Command::attendeesDelete:
    case Command::attendeesList:
    case Command::mergeGroups:
    case Command::compressDatabases:
    case Command::peopleImport:
    case Command::attendeesImport:
    case Command::daysReservations:
    case Command::monthsReservations:
    case Command::allReservations:
    case Command::specifyBlockout:
    case Command::removeBlockout:
    case Command::deleteOldReservations:
    case Command::utilization:
    case Command::personsReservations:
    case Command::attendance:
    case Command::exportReservations:
    case Command::calendarFile:
    case Command::importReservations:
    case Command::findFreeItem:
    case Command::reminders:
    case Command::undo:
    case Command::redo:
    case Command::history:
        return true;
    default:
        return false;
    }
}

bool CORVSchedView::isEnabled(Command command) const {
    switch (command) {
    case Command::attendeesAdd:
    case Command::attendeesModify:
    case Command::attendeesDelete:
    case Command::attendeesList:
    case Command::attendeesImport:
    case Command::attendance:
        return m_doc->attendeeAvailable();
    case Command::newWindow: {
        const CORVSchedApp* app = CORVSchedApp::instance();
        return app && app->mainFrame();
    }
    default:
        return true;
    }
}

void CORVSchedView::run(Command command) {
    // Long work of this group is running under a progress: its tables are not to be moved.
    if (m_doc->busy()) return;
    // A reason the engine noted for a failure nobody was told does not belong to this command.
    error4forgetReason(&m_doc->code());
    if (changesGroup(command) && !m_doc->mayWrite()) return;
    QPointer<CORVSchedView> alive(this);
    {
        // What these commands write outside the changes their dialogs' logic records itself is
        // recorded here. (Not around the others: closing the group ends the document.)
        using enum Command;
        std::optional<CJournalChange> journal;
        for (Command c : {addItem, modifyDeleteItem, itemDelete, itemModify, mergeGroups,
                          peopleImport, attendeesImport, deleteOldReservations})
            if (command == c)
                journal.emplace(*m_doc,
                                c == deleteOldReservations ? CJournalChange::kDeletedOld
                                                           : CJournalChange::kChanged,
                                true);
        runCommand(command);
    }
    // Whatever the command changed reaches the calendar file at once.
    if (alive) refreshCalendarFile();
}

void CORVSchedView::remindAndTell() {
    CORVSchedView*& giver = remindingView(m_doc.get());
    if (!giver) giver = this;
    if (giver != this || m_doc->busy()) return;
    std::vector<CNotice> notices = m_reminders->due();
    for (CNotice& n : m_reminders->changes()) notices.push_back(std::move(n));
    for (const CNotice& n : notices) {
        QPointer<CORVSchedView> alive(this);
        const std::string item = n.entry.item;
        const CDate date = n.entry.date;
        CDesktopNotifier::instance().show(n, [alive, item, date] {
            if (alive) alive->openDayList(item, date);
        });
    }
}

void CORVSchedView::openDayList(const std::string& item, const CDate& date) {
    const int index = m_doc->findItem(item);
    if (index < 0 || m_doc->busy()) return;
    if (m_frame) m_frame->activateWindow();
    itemDayOpener()(index, date.month, date.day, date.year);
}

void CORVSchedView::refreshCalendarFile() {
    // The file waits for the next tick while long work walks the tables.
    if (m_doc->busy()) return;
    std::string error;
    if (m_feed && !m_feed->refresh(false, &error) && error != m_feedError)
        m_doc->prompt().message(error, CCalendarFeedModel::kTitle, PromptIcon::error);
    m_feedError = error;
}

void CORVSchedView::runCommand(Command command) {
    switch (command) {
    case Command::closeGroup:
        closeGroup();
        break;
    case Command::print:
        print();
        break;
    case Command::printPreview:
        printPreview();
        break;
    case Command::modifyGroupInfo:
        m_doc->modifyGroupInformation();
        break;
    case Command::addItem:
        CItemManager(*m_doc).addItem();
        break;
    case Command::modifyDeleteItem:
        m_doc->prompt().message(kModifyDeleteText, "Information", PromptIcon::information);
        break;
    case Command::itemDelete:
        CItemManager(*m_doc).deleteItem(m_rightClicked);
        break;
    case Command::itemModify:
        CItemManager(*m_doc).modifyItem(m_rightClicked);
        break;
    case Command::preferences:
        preferences();
        break;
    case Command::newWindow:
        newWindow();
        break;
    case Command::displayPeopleFileOwner:
        showPeopleFileOwner(m_doc->storedPeopleName(), this);
        break;
    case Command::peopleAdd:
        CPeopleCommands(*m_doc).add(CPeople::Kind::MayReserve);
        break;
    case Command::peopleModify:
        CPeopleCommands(*m_doc).modify(CPeople::Kind::MayReserve);
        break;
    case Command::peopleDelete:
        CPeopleCommands(*m_doc).remove(CPeople::Kind::MayReserve);
        break;
    case Command::peopleList:
        CPeopleCommands(*m_doc).list(CPeople::Kind::MayReserve);
        break;
    case Command::attendeesAdd:
        CPeopleCommands(*m_doc).add(CPeople::Kind::Attendee);
        break;
    case Command::attendeesModify:
        CPeopleCommands(*m_doc).modify(CPeople::Kind::Attendee);
        break;
    case Command::attendeesDelete:
        CPeopleCommands(*m_doc).remove(CPeople::Kind::Attendee);
        break;
    case Command::attendeesList:
        CPeopleCommands(*m_doc).list(CPeople::Kind::Attendee);
        break;
    case Command::mergeGroups:
        CMergeGroups(*m_doc).run();
        break;
    case Command::compressDatabases:
        CCompressDatabases(*m_doc).run();
        break;
    case Command::peopleImport:
        CImportPeople(*m_doc, false).run();
        break;
    case Command::attendeesImport:
        if (m_doc->attendeeAvailable()) CImportPeople(*m_doc, true).run();
        break;
    case Command::daysReservations:
        daysReservations();
        break;
    case Command::monthsReservations:
        monthsReservations();
        break;
    case Command::allReservations:
        CReservationReport::run(*m_doc);
        break;
    case Command::specifyBlockout: {
        CBlockoutModel blockout(*m_doc);
        m_doc->prompt().runDialog(blockout);
        break;
    }
    case Command::removeBlockout: {
        CRemoveBlockoutModel removal(*m_doc);
        m_doc->prompt().runDialog(removal);
        break;
    }
    case Command::deleteOldReservations:
        CDeleteRes::run(*m_doc, m_settings.deleteOldRes);
        break;
    case Command::utilization:
        CUtilizationReport::run(*m_doc, m_settings.startHour);
        break;
    case Command::personsReservations:
        CPersonReservations::run(*m_doc);
        break;
    case Command::attendance:
        CAttendance::run(*m_doc);
        break;
    case Command::exportReservations: {
        CExportModel dialog(*m_doc);
        m_doc->prompt().runDialog(dialog);
        break;
    }
    case Command::calendarFile: {
        CCalendarFeedModel dialog(*m_feed);
        m_doc->prompt().runDialog(dialog);
        break;
    }
    case Command::importReservations:
        if (CReservationImport::runCommand(*m_doc)) m_doc->notifyChanged();
        break;
    case Command::findFreeItem: {
        CFreeItems dialog(*m_doc);
        m_doc->prompt().runDialog(dialog);
        break;
    }
    case Command::reminders: {
        CReminderChoiceModel dialog(*m_doc);
        if (m_doc->prompt().runDialog(dialog)) remindAndTell();
        break;
    }
    case Command::undo:
    case Command::redo:
    case Command::history:
        CHistoryCommands(*m_doc).run(command == Command::undo ? CHistoryCommands::Step::undo
                                     : command == Command::redo ? CHistoryCommands::Step::redo
                                                                : CHistoryCommands::Step::history);
        break;
    default:
        break;
    }
}

OpenItemDay CORVSchedView::itemDayOpener() {
    return [this](int itemIndex, int month, int day, int year) {
        CItemDayOutcome outcome;
        if (!m_doc->items().isValidIndex(itemIndex)) return outcome;
        CItemDayModel dayList(*m_doc, itemIndex, {year, month, day});
        outcome.ok = m_doc->prompt().runDialog(dayList);
        outcome.changed = dayList.changed();
        outcome.month = dayList.date().month;
        outcome.day = dayList.date().day;
        outcome.year = dayList.date().year;
        return outcome;
    };
}

void CORVSchedView::daysReservations() {
    const auto form =
        m_settings.useFullDay ? CDayGlance::Form::allDay : CDayGlance::Form::twelveHours;
    CDayGlance glance(*m_doc, form, m_settings.occupied, m_settings.startHour, itemDayOpener());
    m_doc->prompt().runDialog(glance);
}

void CORVSchedView::monthsReservations() {
    CMonthGlance glance(*m_doc, m_settings.occupied, m_settings.partiallyOccupied, itemDayOpener());
    m_doc->prompt().runDialog(glance);
}

void CORVSchedView::preferences() {
    CORVSchedApp* app = CORVSchedApp::instance();
    CColorChooser& colors = app ? app->colorChooser() : fallbackColors();
    CPreferencesSheet sheet(m_settings, m_doc->settingsStore(), m_doc->prompt(), colors, this);
    // Apply and OK both report what they wrote.
    connect(&sheet, &CPreferencesSheet::settingsApplied, this,
            [this](const CApplyResult& result) { settingsApplied(result); });
    sheet.exec();
}

void CORVSchedView::settingsApplied(const CApplyResult& result) {
    if (result.documentSettingsChanged()) handDocumentSettings();
    updateLegend();
    if (result.needsRedraw()) viewport()->update();
}

void CORVSchedView::print() {
    CORVSchedApp* app = CORVSchedApp::instance();
    if (!app) return;
    QPrinter& printer = app->printer();
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printTo(printer);
}

void CORVSchedView::printPreview() {
    CORVSchedApp* app = CORVSchedApp::instance();
    if (!app) return;
    // The printer is shared: it still carries the name of whatever was printed last.
    const QString description = CQtPrompt::toQt(m_doc->description());
    app->printer().setDocName(description);
    QPrintPreviewDialog dialog(&app->printer(), this);
    dialog.setWindowTitle(QStringLiteral("Print Preview - ") + description);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { printTo(*printer); });
    dialog.exec();
}

void CORVSchedView::printTo(QPrinter& printer) {
    printer.setDocName(CQtPrompt::toQt(m_doc->description()));
    QPainter painter;
    if (!painter.begin(&printer)) return;
    draw(painter, false);
    painter.end();
}

void CORVSchedView::newWindow() {
    CORVSchedApp* app = CORVSchedApp::instance();
    if (!app || !app->mainFrame()) return;
    app->showGroupWindow(m_doc);
}

void CORVSchedView::closeGroup() {
    CORVSchedApp* app = CORVSchedApp::instance();
    QPointer<QWidget> own = m_frame;
    if (app && app->mainFrame()) {
        for (CChildFrame* child : app->mainFrame()->childFrames()) {
            auto* view = qobject_cast<CORVSchedView*>(child->widget());
            if (child != own && view && view->m_doc == m_doc) child->close();
        }
    }
    // Closing the own window deletes this view later; nothing runs here afterwards.
    if (own) own->close();
}

// ---- Document and settings ---------------------------------------------------------------------

void CORVSchedView::handDocumentSettings() {
    CDocSettings s;
    s.propAttendees = m_settings.propAttendees;
    s.showNotes = m_settings.showNotes;
    s.refresh = m_settings.refresh;
    s.doDBReOpen = m_settings.doDBReOpen;
    s.lock = m_settings.lock;
    s.deleteOldRes = m_settings.deleteOldRes;
    m_doc->setSettings(s);
}

void CORVSchedView::documentChanged() {
    if (m_layout) setExtent(m_layout->extent(m_doc->items().count()));
    const int count = m_doc->items().count();
    if (m_focused >= count) m_focused = count - 1;
    if (m_focused < 0 && count > 0 && hasFocus()) m_focused = 0;
    viewport()->update();
    updateFrameTitle();
    tellStateChanges();
}

void CORVSchedView::tellStateChanges() {
    const CItemList& items = m_doc->items();
    const std::size_t count = static_cast<std::size_t>(items.count());
    const bool first = m_toldInUse.size() != count;
    if (first) m_toldInUse.assign(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        const bool inUse = items.at(static_cast<int>(i)).inUse();
        if (!first && inUse == m_toldInUse[i]) continue;
        m_toldInUse[i] = inUse;
        if (first) continue;
        CORVSchedViewAccessible::tellStateChange(this, int(i));
    }
    if (hasFocus() && m_focused >= 0 && !viewport()->underMouse()) showStatus(stateText(m_focused));
}

void CORVSchedView::updateFrameTitle() {
    auto* frame = qobject_cast<CChildFrame*>(parentWidget());
    if (!frame) return;
    const QString title = CQtPrompt::toQt(m_doc->description());
    if (frame->windowTitle() != title) frame->setWindowTitle(title);
}

// ---- Lifecycle and timer -----------------------------------------------------------------------

void CORVSchedView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (!m_firstUpdateDone) initialUpdate();
}

void CORVSchedView::trackFrame() {
    QWidget* frame = parentWidget();
    if (frame == m_frame) return;
    if (m_frame) m_frame->removeEventFilter(this);
    m_frame = frame;
    if (!m_frame) return;
    m_frame->installEventFilter(this);
    m_frameRect = m_frame->geometry();
}

bool CORVSchedView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_frame && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        // A maximized or minimized window would bring back a size that is not the user's.
        if (!(m_frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
            m_frameRect = m_frame->geometry();
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void CORVSchedView::initialUpdate() {
    if (m_firstUpdateDone) return;
    m_firstUpdateDone = true;
    handDocumentSettings();
    trackFrame();
    if (!m_frameSized) {
        m_frameSized = true;
        const CRect& stored = m_doc->windowRect();
        if (stored.right != 0 && m_frame)
            m_frame->resize(stored.right - stored.left, stored.bottom - stored.top);
        // After the area has placed the new window.
        QTimer::singleShot(0, this, &CORVSchedView::keepFrameInside);
    }
    // The first tick falls on the next full minute.
    const std::tm now = CClock::current().localNow();
    m_timerInterval = kMinuteMs - 1000 * now.tm_sec;
    if (m_timerInterval < 5000) m_timerInterval = kMinuteMs;
    m_timer.start(m_timerInterval);
    updateFrameTitle();
    refreshCalendarFile();
    if (const std::string notice = m_doc->readOnlyNotice(); !notice.empty())
        m_doc->prompt().message(notice, CORVSchedDoc::kReadOnlyTitle, PromptIcon::information);
    if (m_settings.warnOldDB) {
        if (m_doc->databasesOld())
            m_doc->prompt().message(kOldDatabases, kOldDatabaseTitle, PromptIcon::information);
        else if (m_doc->peopleDatabaseOld())
            m_doc->prompt().message(kOldPeopleDatabase, kOldDatabaseTitle, PromptIcon::information);
    }
}

void CORVSchedView::keepFrameInside() {
    // A new window of a large group lands where the area places it, possibly half outside.
    QWidget* area = m_frame ? m_frame->parentWidget() : nullptr;
    if (!area || area->width() <= 0 || area->height() <= 0) return;
    QRect r = m_frame->geometry();
    const QRect bounds = area->rect();
    r.setWidth(std::min(r.width(), bounds.width()));
    r.setHeight(std::min(r.height(), bounds.height()));
    if (r.right() > bounds.right()) r.moveRight(bounds.right());
    if (r.bottom() > bounds.bottom()) r.moveBottom(bounds.bottom());
    if (r.left() < 0) r.moveLeft(0);
    if (r.top() < 0) r.moveTop(0);
    if (r != m_frame->geometry()) m_frame->setGeometry(r);
}

void CORVSchedView::timerTick() {
    // Long work of this group lets the event loop run inside its progress and its messages: the
    // tables are left alone until the next tick.
    if (m_doc->busy()) return;
    const std::tm now = CClock::current().localNow();
    bool dateChanged = false;
    if (now.tm_mday != m_doc->day()) {
        m_doc->setDateToToday();
        dateChanged = true;
    }
    if (m_timerInterval < kMinuteMs) {
        m_timerInterval = kMinuteMs;
        m_timer.start(m_timerInterval);
    }
    if ((m_settings.refresh && m_doc->changedByOthers()) || dateChanged) m_doc->reloadTodaysList();
    refreshCalendarFile();
    remindAndTell();
    // From scratch each time: a tick missed in a reservation's ending minute (a busy window, a
    // sleeping machine) must not leave the item shown as in use.
    m_doc->recomputeInUse(true);
    // What the status bar says of the item under the mouse changes with the minute too.
    if (viewport()->underMouse())
        showStatus(stateTextAt(viewport()->mapFromGlobal(QCursor::pos())));
    else if (hasFocus() && m_focused >= 0)
        showStatus(stateText(m_focused));
}

// ---- Drawing and scrolling ---------------------------------------------------------------------

QPoint CORVSchedView::scrollOffset() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CORVSchedView::setExtent(const CViewExtent& extent) {
    if (extent == m_extent) return;
    m_extent = extent;
    updateScrollBars();
}

void CORVSchedView::updateScrollBars() {
    const QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_extent.width - page.width()));
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setRange(0, std::max(0, m_extent.height - page.height()));
    verticalScrollBar()->setPageStep(page.height());
    if (m_layout) verticalScrollBar()->setSingleStep(m_layout->lineHeight());
}

void CORVSchedView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const QRect inside = contentsRect();
    m_legend->setGeometry(inside.left(), inside.top(), inside.width(),
                          m_legend->sizeHint().height());
    updateScrollBars();
}

// ---- Legend, tooltip and status bar ------------------------------------------------------------

void CORVSchedView::makeLegend() {
    m_legend = new QWidget(this);
    m_legend->setObjectName(QStringLiteral("legend"));
    auto* row = new QHBoxLayout(m_legend);
    const int pad = fontMetrics().averageCharWidth();
    row->setContentsMargins(3 * pad, pad / 2, pad, pad / 2);
    row->setSpacing(pad);
    auto entry = [&](const char* name, const char* text) {
        auto* swatch = new QLabel(m_legend);
        swatch->setObjectName(QString::fromLatin1(name) + QStringLiteral("Swatch"));
        swatch->setFixedSize(2 * fontMetrics().height(), fontMetrics().height());
        swatch->setFrameShape(QFrame::Box);
        swatch->setAutoFillBackground(true);
        auto* label = new QLabel(QString::fromLatin1(text), m_legend);
        label->setObjectName(QString::fromLatin1(name));
        row->addWidget(swatch);
        row->addWidget(label);
        row->addSpacing(2 * pad);
    };
    entry("legendInUse", CItemStateText::kLegendInUse);
    entry("legendFree", CItemStateText::kLegendFree);
    row->addStretch(1);
    setViewportMargins(0, m_legend->sizeHint().height(), 0, 0);
    updateLegend();
}

void CORVSchedView::updateLegend() {
    auto paint = [this](const char* name, int stored) {
        auto* swatch = m_legend->findChild<QLabel*>(QString::fromLatin1(name));
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, colorFromStored(stored));
        swatch->setPalette(palette);
    };
    paint("legendInUseSwatch", m_settings.occupied);
    paint("legendFreeSwatch", m_settings.unoccupied);
}

QString CORVSchedView::stateTextAt(QPoint pos) const {
    return stateText(itemAt(pos + scrollOffset()));
}

QString CORVSchedView::stateText(int index) const {
    if (!m_doc->items().isValidIndex(index)) return {};
    const std::tm now = CClock::current().localNow();
    return CQtPrompt::toQt(CItemStateText::describe(m_doc->items().at(index).name(), index,
                                                    m_doc->todaysList(),
                                                    now.tm_hour * 100 + now.tm_min));
}

void CORVSchedView::showStatus(const QString& text) {
    if (text == m_statusShown) return;
    m_statusShown = text;
    // The status tip travels up to the main window, which shows it in its status bar.
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(this, &tip);
}

void CORVSchedView::mouseMoveEvent(QMouseEvent* event) {
    showStatus(stateTextAt(event->position().toPoint()));
    QAbstractScrollArea::mouseMoveEvent(event);
}

bool CORVSchedView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = stateTextAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    if (event->type() == QEvent::Leave)
        showStatus(hasFocus() && m_focused >= 0 ? stateText(m_focused) : QString());
    return QAbstractScrollArea::viewportEvent(event);
}

void CORVSchedView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QFontMetrics fm = painter.fontMetrics();
    const CViewLayout layout(fm.height() + fm.leading(), fm.averageCharWidth());
    const bool firstMetrics = !m_layout;
    m_layout = layout;
    if (firstMetrics) verticalScrollBar()->setSingleStep(layout.lineHeight());
    setExtent(layout.extent(m_doc->items().count()));
    painter.translate(-scrollOffset());
    const QRect exposed = event->rect().translated(scrollOffset());
    drawWith(painter, layout, true, &exposed);
}

const QTextLayout& CORVSchedView::screenText(const QString& text, const QFont& font, int width) {
    // The texts change only with the items and their current use: a bound far above what one
    // group shows keeps a long session from collecting old ones.
    const qsizetype bound = 4 * static_cast<qsizetype>(m_doc->items().count()) + 64;
    if (font != m_screenTextFont || width != m_screenTextWidth || m_screenTexts.size() > bound) {
        m_screenTexts.clear();
        m_screenTextFont = font;
        m_screenTextWidth = width;
    }
    auto found = m_screenTexts.find(text);
    if (found == m_screenTexts.end()) {
        const QString shown =
            QFontMetrics(font, viewport()).elidedText(text, Qt::ElideRight, width);
        auto shaped = std::make_shared<QTextLayout>(shown, font);
        shaped->beginLayout();
        shaped->createLine();
        shaped->endLayout();
        found = m_screenTexts.insert(text, shaped);
    }
    return **found;
}

void CORVSchedView::draw(QPainter& painter, bool storeRects) {
    const QFontMetrics fm = painter.fontMetrics();
    drawWith(painter, CViewLayout(fm.height() + fm.leading(), fm.averageCharWidth()), storeRects);
}

void CORVSchedView::drawWith(QPainter& painter, const CViewLayout& layout, bool storeRects,
                             const QRect* exposed) {
    const QFontMetrics fm = painter.fontMetrics();
    CItemList& items = m_doc->items();
    const int count = items.count();

    const QString title =
        CQtPrompt::toQt(CViewLayout::titleText(count, m_doc->kindUpper(), m_doc->description()));
    const QPoint titleAt(layout.titleX(count, fm.horizontalAdvance(title)), layout.titleY());
    painter.save();
    painter.setPen(kTitleColor);
    painter.drawText(titleAt.x(), titleAt.y() + fm.ascent(), title);
    painter.restore();
    if (storeRects) m_titlePos = titleAt;

    // A printer's device pixel is a small fraction of a screen pixel: the border line and the
    // inset of the fill are as wide on paper as on the screen, so the border shows.
    const int dot = storeRects ? 1 : std::max(1, painter.device()->logicalDpiY() / 96);
    QPen border(Qt::black);
    border.setWidth(dot);
    const QColor occupied = colorFromStored(m_settings.occupied);
    const QColor unoccupied = colorFromStored(m_settings.unoccupied);
    const QColor textColor = painter.pen().color();
    for (int i = 0; i < count; ++i) {
        const CRoom& item = items.at(i);
        const CRect box = layout.boxRect(i);
        if (storeRects) items.setRect(i, box);
        const QRect area(box.left, box.top, box.right - box.left, box.bottom - box.top);
        if (exposed && (area.bottom() < exposed->top() || area.top() > exposed->bottom())) continue;
        painter.save();
        if (storeRects && i == m_focused && hasFocus()) {
            QPen frame(kFocusFrameColor, 2, Qt::DashLine);
            painter.setPen(frame);
            painter.setBrush(Qt::NoBrush);
            const int out = std::max(3, layout.avgWidth() / 2);
            painter.drawRect(area.adjusted(-out, -out, out - 1, out - 1));
        }
        painter.setPen(border);
        painter.setBrush(Qt::white);
        painter.drawRect(area.adjusted(dot / 2, dot / 2, -(dot + 1) / 2, -(dot + 1) / 2));
        const QColor fill = i == m_highlighted ? kHighlightColor
                            : item.inUse()     ? occupied
                                               : unoccupied;
        // An item in use also has a bold border, so that its state shows without its colour
        // (on a grey-scale printer, to a reader who does not tell the two colours apart).
        const int edge = item.inUse() ? 3 * dot : 2 * dot;
        if (item.inUse()) painter.fillRect(area.adjusted(dot, dot, -dot, -dot), Qt::black);
        const QRect inside = area.adjusted(edge, edge, -edge, -edge);
        painter.fillRect(inside, fill);
        // Texts sit on the fill colour, in the text colour unless that is too faint on it. A
        // name or a current use of wide letters is wider than the box: it ends in an ellipsis,
        // and nothing of it leaves the box.
        painter.setPen(readableTextOn(fill, textColor));
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(fill);
        painter.setClipRect(inside);
        auto line = [&](const std::string& stored, int number) {
            if (stored.empty()) return;
            const QString text = CQtPrompt::toQt(stored);
            if (!storeRects) {
                const QString shown = fm.elidedText(text, Qt::ElideRight, inside.width());
                painter.drawText(layout.centredX(box, fm.horizontalAdvance(shown)),
                                 layout.textY(box, number) + fm.ascent(), shown);
                return;
            }
            // The screen redraws often: its texts are shaped once.
            const QTextLayout& shaped = screenText(text, painter.font(), inside.width());
            const QTextLine first = shaped.lineAt(0);
            const QPointF at(layout.centredX(box, qRound(first.naturalTextWidth())),
                             layout.textY(box, number));
            painter.fillRect(QRectF(at, QSizeF(first.naturalTextWidth(), fm.height())), fill);
            shaped.draw(&painter, at);
        };
        line(item.name(), 0);
        line(CViewLayout::occupancyText(item.occupancy()), 1);
        if (item.inUse()) line(item.currentUse(), 2);
        painter.restore();
    }
}

// ---- Clicks ------------------------------------------------------------------------------------

int CORVSchedView::itemAt(QPoint drawingPos) const {
    const CItemList& items = m_doc->items();
    for (int i = 0; i < items.count(); ++i)
        if (items.rectAt(i).contains(drawingPos.x(), drawingPos.y())) return i;
    return -1;
}

void CORVSchedView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        leftClick(event->position().toPoint());
    else if (event->button() == Qt::RightButton)
        rightClick(event->position().toPoint());
    else
        QAbstractScrollArea::mousePressEvent(event);
}

void CORVSchedView::leftClick(QPoint pos) {
    if (m_itemMenu->isVisible()) m_itemMenu->close();
    if (m_doc->busy()) return;
    const int index = itemAt(pos + scrollOffset());
    if (index < 0) return;
    openItemDay(index);
}

void CORVSchedView::openItemDay(int index) {
    if (m_doc->busy()) return;
    error4forgetReason(&m_doc->code());
    if (!m_doc->items().isValidIndex(index)) return;
    m_focused = index;
    m_highlighted = index;
    viewport()->repaint();

    const std::tm today = CClock::current().localNow();
    QPointer<CORVSchedView> alive(this);
    itemDayOpener()(index, today.tm_mon + 1, today.tm_mday, today.tm_year + 1900);
    if (!alive) return;
    refreshCalendarFile();
    m_highlighted = -1;
    viewport()->update();
    if (hasFocus()) showStatus(stateText(m_focused));
}

void CORVSchedView::rightClick(QPoint pos) {
    if (m_itemMenu->isVisible()) m_itemMenu->close();
    const int index = itemAt(pos + scrollOffset());
    if (index < 0) return;
    showItemMenu(index, pos);
}

void CORVSchedView::showItemMenu(int index, QPoint pos) {
    if (m_settings.lock || m_doc->busy() || !m_doc->items().isValidIndex(index)) return;
    m_rightClicked = index;
    m_itemMenu->popup(viewport()->mapToGlobal(pos));
}

// ---- Keyboard ----------------------------------------------------------------------------------

QRect CORVSchedView::boxOnScreen(int index) const {
    if (!m_layout || !m_doc->items().isValidIndex(index)) return {};
    const CRect box = m_layout->boxRect(index);
    return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top)
        .translated(-scrollOffset());
}

void CORVSchedView::setFocusedItem(int index) {
    const int count = m_doc->items().count();
    if (count == 0) return;
    index = std::clamp(index, 0, count - 1);
    const bool moved = index != m_focused;
    m_focused = index;
    if (m_layout) {
        // The whole box and the frame around it come into sight.
        const CRect box = m_layout->boxRect(index);
        const int margin = m_layout->avgWidth();
        QScrollBar* v = verticalScrollBar();
        QScrollBar* h = horizontalScrollBar();
        const QSize page = viewport()->size();
        if (box.top - margin < v->value())
            v->setValue(box.top - margin);
        else if (box.bottom + margin > v->value() + page.height())
            v->setValue(box.bottom + margin - page.height());
        if (box.left - margin < h->value())
            h->setValue(box.left - margin);
        else if (box.right + margin > h->value() + page.width())
            h->setValue(box.right + margin - page.width());
    }
    viewport()->update();
    showStatus(stateText(index));
    if (moved && hasFocus()) CORVSchedViewAccessible::tellFocus(this, index);
}

int CORVSchedView::itemStartingWith(const QString& typed, int from) const {
    const CItemList& items = m_doc->items();
    const int count = items.count();
    for (int step = 0; step < count; ++step) {
        const int i = (from + step) % count;
        if (CQtPrompt::toQt(items.at(i).name()).startsWith(typed, Qt::CaseInsensitive)) return i;
    }
    return -1;
}

void CORVSchedView::keyPressEvent(QKeyEvent* event) {
    const int count = m_doc->items().count();
    if (count == 0 || m_doc->busy()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int current = std::max(m_focused, 0);
    const int columns = CViewLayout::kColumns;
    int rowsShown = 1;
    if (m_layout)
        rowsShown =
            std::max(1, viewport()->height() / (m_layout->boxHeight() + m_layout->rowGap()));
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        setFocusedItem(current - 1);
        break;
    case Qt::Key_Right:
        setFocusedItem(current + 1);
        break;
    case Qt::Key_Up:
        if (current >= columns) setFocusedItem(current - columns);
        break;
    case Qt::Key_Down:
        if (current + columns < count) setFocusedItem(current + columns);
        break;
    case Qt::Key_Home:
        setFocusedItem(0);
        break;
    case Qt::Key_End:
        setFocusedItem(count - 1);
        break;
    case Qt::Key_PageUp:
        setFocusedItem(current - rowsShown * columns);
        break;
    case Qt::Key_PageDown: {
        // A page down from the last full row lands on the last item, not past it.
        const int target = current + rowsShown * columns;
        setFocusedItem(target < count ? target : count - 1);
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openItemDay(current);
        break;
    case Qt::Key_Menu:
        showItemMenu(current, boxOnScreen(current).center());
        break;
    case Qt::Key_F10:
        if (mods != Qt::ShiftModifier) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        showItemMenu(current, boxOnScreen(current).center());
        break;
    default: {
        const QString text = event->text();
        const bool typing = !text.isEmpty() && text.at(0).isPrint() &&
                            !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (!typing) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        // A pause longer than the desktop's typing interval starts a new search.
        if (!m_typedAt.isValid() || m_typedAt.elapsed() > QApplication::keyboardInputInterval())
            m_typed.clear();
        m_typedAt.start();
        if (m_typed.isEmpty() && text == QStringLiteral(" ")) {
            openItemDay(current);
            break;
        }
        m_typed += text;
        // One letter again and again steps through the items that begin with it.
        const bool repeated = m_typed.size() > 1 && m_typed.count(m_typed.at(0)) == m_typed.size();
        int found = -1;
        if (m_typed.size() == 1 || repeated)
            found = itemStartingWith(m_typed.left(1), current + 1);
        else
            found = itemStartingWith(m_typed, current);
        if (found >= 0) setFocusedItem(found);
        break;
    }
    }
    event->accept();
}

void CORVSchedView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    if (m_doc->items().count() == 0) return;
    if (m_focused < 0) m_focused = 0;
    viewport()->update();
    showStatus(stateText(m_focused));
    // After the toolkit has told of the view itself: a reader then stays on the box.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus() && m_focused >= 0) CORVSchedViewAccessible::tellFocus(this, m_focused);
    });
}

void CORVSchedView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace orv
