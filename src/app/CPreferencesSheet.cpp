#include "app/CPreferencesSheet.h"

#include "app/CCheckBoxPage.h"
#include "app/CColorPage.h"
#include "app/CDayGlancePage.h"
#include "app/CDeleteOldRes.h"
#include "app/CStartupPage.h"
#include "group/CUserPrompt.h"
#include "ui/CHelpWindow.h"
#include "ui/CKeyboardAccess.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orv {

CPreferencesSheet::CPreferencesSheet(CViewSettings& view, CSettings& store, CUserPrompt& prompt,
                                     CColorChooser& colors, QWidget* parent)
    : QDialog(parent), m_view(view), m_store(store), m_prompt(prompt),
      m_values(CPreferenceValues::fromView(view, store)) {
    setWindowTitle(QStringLiteral("Preferences"));
    // Ten titles do not fit a row of tabs: they stand in a list beside the page.
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("pages"));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_stack = new QStackedWidget(this);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply | QDialogButtonBox::Help,
                                     this);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(m_list);
    row->addWidget(m_stack, 1);
    layout->addLayout(row, 1);
    layout->addWidget(m_buttons);

    using V = CPreferenceValues;
    auto* reservations =
        new CCheckBoxPage(QStringLiteral("Reservation Settings"), help::kPrefReservationSettings);
    reservations->addText(QStringLiteral("The following are default settings that can be "
                                         "overriden in the reservation dialogs."));
    reservations->addCheck(QStringLiteral("Show notes on active reservations instead of name"),
                           &V::showNotes);
    reservations->addCheck(QStringLiteral("Propagate attendees to all recurring reservations"),
                           &V::propAttendees);
    addPage(reservations);

    auto* network = new CCheckBoxPage(QStringLiteral("Network Reservations"), help::kPrefNetwork);
    network->addText(QStringLiteral("You only need to set the following property if\n"
                                    "1) You are sharing groups over a network and\n"
                                    "2) You keep these groups open for extended periods of time"));
    network->addText(QStringLiteral(
        "This setting causes some minor network overhead but insures that your display will be "
        "updated when a reservation made by another user becomes active."));
    network->addCheck(QStringLiteral("Refresh network reservations"), &V::refresh);
    network->addText(QStringLiteral(
        "Set the following property only if network reservations are still not being seen after "
        "setting the above property. Some networks require this."));
    network->addCheck(QStringLiteral("Force network buffer flush"), &V::doDBReOpen);
    addPage(network);

    addPage(new CDeleteOldRes);
    addPage(new CDayGlancePage);
    addPage(new CStartupPage(prompt));

    auto* groups = new CCheckBoxPage(QStringLiteral("Group Settings"), help::kPrefGroupSettings);
    groups->addText(QStringLiteral("To prohibit items from being added or removed from any "
                                   "groups, select the checkbox below:"));
    groups->addCheck(QStringLiteral("Lock Groups"), &V::lock);
    addPage(groups);

    auto* oldDatabases =
        new CCheckBoxPage(QStringLiteral("Old Group Databases"), help::kPrefOldDatabases);
    oldDatabases->addText(QStringLiteral(
        "Groups created before version 2.00 of ORV Scheduler may not support some of the new "
        "program functions. You can have ORV Scheduler warn you when opening an old group by "
        "checking the box below."));
    oldDatabases->addCheck(QStringLiteral("Warn when opening an old group"), &V::warnOldDB);
    addPage(oldDatabases);

    addPage(new CColorPage(QStringLiteral("Item In Use Colors"), help::kPrefInUseColor,
                           QStringLiteral("Change the color that indicates an item is reserved"),
                           &V::occupied, "Occupied", 255, colors, store));
    addPage(new CColorPage(
        QStringLiteral("Partially Occupied Color"), help::kPrefPartialColor,
        QStringLiteral("Change the color that indicates some (but not all) items are reserved. "
                       "This is only used by the Month at a Glance dialog."),
        &V::partiallyOccupied, "Partially Occupied", 65535, colors, store));
    addPage(new CColorPage(QStringLiteral("Item Available Color"), help::kPrefAvailableColor,
                           QStringLiteral("Change color for an item that is currently available"),
                           &V::unoccupied, "Unoccupied", 65408, colors, store));

    m_list->setFixedWidth(m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth() +
                          2 * fontMetrics().averageCharWidth());
    m_list->setCurrentRow(0);
    // Every page's text wraps at the page's width; the sheet is tall enough for the longest.
    int height = 0;
    for (CPreferencePage* p : m_pages)
        height = std::max(height, p->sizeHint().height());
    m_stack->setMinimumHeight(
        std::max(height, m_list->sizeHintForRow(0) * m_list->count() + 2 * m_list->frameWidth()));
    m_stack->setMinimumWidth(40 * fontMetrics().averageCharWidth());

    applyButton()->setEnabled(false);
    connect(m_list, &QListWidget::currentRowChanged, m_stack, &QStackedWidget::setCurrentIndex);
    connect(m_list, &QListWidget::currentRowChanged, this, &CPreferencesSheet::pageChanged);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CPreferencesSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CPreferencesSheet::reject);
    connect(applyButton(), &QPushButton::clicked, this, &CPreferencesSheet::applyNow);
    auto openHelp = [this] { showHelp(page(m_stack->currentIndex())->helpTopic()); };
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, openHelp);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f1, &QShortcut::activated, this, openHelp);
    m_list->setAccessibleName(QStringLiteral("Pages"));
    completeKeyboardAccess(this);
}

void CPreferencesSheet::addPage(CPreferencePage* page) {
    page->load(m_values);
    m_pages.push_back(page);
    m_stack->addWidget(page);
    m_list->addItem(page->title());
    connect(page, &CPreferencePage::changed, this, [this] { applyButton()->setEnabled(true); });
}

QPushButton* CPreferencesSheet::applyButton() const {
    return m_buttons->button(QDialogButtonBox::Apply);
}
QPushButton* CPreferencesSheet::okButton() const {
    return m_buttons->button(QDialogButtonBox::Ok);
}
QPushButton* CPreferencesSheet::cancelButton() const {
    return m_buttons->button(QDialogButtonBox::Cancel);
}
QPushButton* CPreferencesSheet::helpButton() const {
    return m_buttons->button(QDialogButtonBox::Help);
}

bool CPreferencesSheet::checkPage(int index) {
    const std::optional<CPreferencePage::Problem> problem = page(index)->check();
    if (!problem) return true;
    if (m_list->currentRow() != index) {
        m_switchingBack = true;
        m_list->setCurrentRow(index);
        m_switchingBack = false;
        m_current = index;
    }
    m_prompt.message(problem->message, kAppTitle, PromptIcon::warning);
    if (problem->field) {
        problem->field->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(problem->field)) edit->selectAll();
    }
    return false;
}

void CPreferencesSheet::pageChanged(int index) {
    if (m_switchingBack) return;
    const int left = m_current;
    m_current = index;
    if (left != index) checkPage(left);
}

bool CPreferencesSheet::applyNow() {
    if (!checkPage(m_list->currentRow())) return false;
    for (int i = 0; i < pageCount(); ++i)
        if (!checkPage(i)) return false;
    for (CPreferencePage* p : m_pages)
        p->save(m_values);
    const CApplyResult result = m_values.apply(m_view, m_store);
    m_applied.merge(result);
    applyButton()->setEnabled(false);
    emit settingsApplied(result);
    return true;
}

void CPreferencesSheet::accept() {
    if (applyNow()) QDialog::accept();
}

CApplyResult CPreferencesSheet::run(CViewSettings& view, CSettings& store, CUserPrompt& prompt,
                                    CColorChooser& colors, QWidget* parent) {
    CPreferencesSheet sheet(view, store, prompt, colors, parent);
    sheet.exec();
    return sheet.applied();
}

} // namespace orv
