#include "reservations/widgets/CRoomInfoDlg.h"

#include "reservations/CReservationText.h"
#include "ui/CDialogRegistry.h"
#include "ui/CHelpWindow.h"
#include "ui/CQtDates.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtListPrinter.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace orv {

CRoomInfoDlg::CRoomInfoDlg(CItemDayModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_day(model) {
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QVBoxLayout(this);

    auto* description = new QLabel(CQtPrompt::toQt(model.description()), this);
    description->setObjectName(QStringLiteral("description"));
    description->setWordWrap(true);
    description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(description);
    auto* occupancy = new QLabel(CQtPrompt::toQt(model.occupancyText()), this);
    occupancy->setObjectName(QStringLiteral("occupancy"));
    layout->addWidget(occupancy);

    m_date = datePickerQt(model.date(), "date", this, QStringLiteral("dddd, MMMM dd, yyyy"));
    m_date->setAccessibleName(QStringLiteral("Date"));
    layout->addWidget(m_date);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* header = new QLabel(QString::fromLatin1(CItemDayModel::kHeader), this);
    header->setFont(fixed);
    layout->addWidget(header);
    m_list = new QListWidget(this);
    m_list->setFont(fixed);
    m_list->setAccessibleName(QStringLiteral("Reservations"));
    // The header names the columns a reader hears in each line.
    m_list->setAccessibleDescription(header->text().simplified());
    // The header's columns stand over the list's, at any font: it starts where the list's text
    // does, and the list is as wide as the header.
    const int textStart = m_list->frameWidth() +
                          style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1;
    header->setIndent(textStart);
    m_list->setMinimumSize(std::max(520, 2 * textStart +
                                             QFontMetrics(fixed).horizontalAdvance(header->text()) +
                                             style()->pixelMetric(QStyle::PM_ScrollBarExtent)),
                           220);
    layout->addWidget(m_list);

    auto* buttonRow = new QHBoxLayout;
    auto addButton = [this, buttonRow](const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setAutoDefault(false);
        buttonRow->addWidget(b);
        return b;
    };
    QPushButton* finished = addButton("&Finished");
    finished->setDefault(true);
    QPushButton* make = addButton("&Make Reservation");
    QPushButton* refresh = addButton("&Refresh");
    QPushButton* printButton = addButton("&Print");
    QPushButton* help = addButton("&Help");
    layout->addLayout(buttonRow);

    auto* group =
        new QGroupBox(QStringLiteral("A reservation must be selected to use the following:"), this);
    auto* groupRow = new QHBoxLayout(group);
    auto groupButton = [this, group, groupRow](const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), group);
        b->setAutoDefault(false);
        b->setEnabled(false);
        groupRow->addWidget(b);
        return b;
    };
    m_cancel = groupButton("&Cancel Reservation");
    m_terminate = groupButton("&Terminate Reservation");
    m_show = groupButton("&Show/Change Reservation");
    m_cancelPart = groupButton("Cancel P&art of Series...");
    layout->addWidget(group);
    auto* reasonRow = new QHBoxLayout;
    auto* reasonLabel = new QLabel(QStringLiteral("R&eason for a change (kept in the history):"), this);
    auto* reason = new QLineEdit(this);
    reason->setObjectName(QStringLiteral("reason"));
    reasonLabel->setBuddy(reason);
    reasonRow->addWidget(reasonLabel);
    reasonRow->addWidget(reason, 1);
    layout->addLayout(reasonRow);
    connect(reason, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_day.reason = CQtPrompt::toStored(text.trimmed()); });

    connect(finished, &QPushButton::clicked, this, &QDialog::accept);
    connect(make, &QPushButton::clicked, this, [this] {
        if (!takeTypedEntriesQt(this)) return;
        m_day.select(selectedRowQt(m_list));
        m_day.makeReservation();
        showDay();
    });
    connect(refresh, &QPushButton::clicked, this, [this] { act(&CItemDayModel::refresh); });
    connect(printButton, &QPushButton::clicked, this, &CRoomInfoDlg::print);
    connect(m_cancel, &QPushButton::clicked, this,
            [this] { act(&CItemDayModel::cancelReservation); });
    connect(m_terminate, &QPushButton::clicked, this,
            [this] { act(&CItemDayModel::terminateReservation); });
    connect(m_show, &QPushButton::clicked, this, [this] { act(&CItemDayModel::showReservation); });
    connect(m_cancelPart, &QPushButton::clicked, this,
            [this] { act(&CItemDayModel::cancelPartOfSeries); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this] { act(&CItemDayModel::showReservation); });
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_showing) return;
        const int row = selectedRowQt(m_list);
        m_day.select(row);
        if (row >= 0)
            for (QPushButton* b : {m_cancel, m_terminate, m_show, m_cancelPart})
                b->setEnabled(true);
    });
    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (m_showing) return;
        m_day.setDate(fromQDate(date));
        showDay();
    });
    setHelpTopic(QString::fromLatin1(help::kItemDay));
    connect(help, &QPushButton::clicked, this, [this] { showHelp(helpTopic()); });
    showDay();
}

QPushButton* CRoomInfoDlg::button(const QString& text) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (QString(b->text()).remove(QLatin1Char('&')) == text) return b;
    return nullptr;
}

void CRoomInfoDlg::showDay() {
    m_showing = true;
    if (fromQDate(m_date->date()) != m_day.date()) m_date->setDate(toQDate(m_day.date()));
    m_list->clear();
    for (const std::string& line : m_day.lines())
        m_list->addItem(CQtPrompt::toQt(line));
    if (m_day.selected() >= 0) m_list->setCurrentRow(m_day.selected());
    m_showing = false;
}

void CRoomInfoDlg::act(void (CItemDayModel::*action)()) {
    if (!takeTypedEntriesQt(this)) return;
    // The selection, not the current line: tabbing into the list makes its first line current.
    m_day.select(selectedRowQt(m_list));
    (m_day.*action)();
    showDay();
}

void CRoomInfoDlg::takeValues() {
    m_day.takeDate(fromQDate(m_date->date()));
}

void CRoomInfoDlg::print() {
    QPrinter& printer = CQtListPrinter::programPrinter();
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted) return;
    takeValues();
    printTo(printer);
}

void CRoomInfoDlg::printTo(QPrinter& printer) {
    printer.setDocName(QStringLiteral("RoomReservations"));
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QFontMetrics fm = painter.fontMetrics();
    const int h = fm.height() + fm.leading();
    const int left = fm.averageCharWidth();
    const int bottom = painter.viewport().height();
    auto line = [&](int y, const std::string& text) {
        if (y + h > bottom) return;
        painter.drawText(left, y + fm.ascent(), CQtPrompt::toQt(text));
    };
    line(2 * h, CReservationText::longDate(m_day.date()));
    line(4 * h, m_day.title());
    line(6 * h, m_day.printedHeading());
    int y = 9 * h;
    for (const std::string& text : m_day.lines()) {
        line(y, text);
        y += h;
    }
    painter.end();
}

void CRoomInfoDlg::registerDialogs() {
    registerDialog<CItemDayModel, CRoomInfoDlg>(CItemDayModel::kId);
}

} // namespace orv
