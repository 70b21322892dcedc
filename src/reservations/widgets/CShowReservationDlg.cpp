#include "reservations/widgets/CShowReservationDlg.h"

#include "reservations/CSeriesInfo.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CShowReservationDlg::CShowReservationDlg(CShowReservation& model, CUserPrompt& prompt,
                                         QWidget* parent)
    : CModelDialog(model, prompt, parent), m_show(model) {
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto readOnly = [this, form](const char* label, const std::string& value) {
        auto* field = new QLineEdit(CQtPrompt::toQt(value), this);
        field->setReadOnly(true);
        form->addRow(QString::fromLatin1(label), field);
    };
    readOnly("Reservation Date", model.dateText());
    readOnly("Start", model.startText());
    readOnly("End", model.endText());
    readOnly("Reserved For", model.reservedFor());
    readOnly("Phone", model.phone());
    readOnly("Dept", model.department());
    readOnly("Location", model.location());
    m_note = new QLineEdit(CQtPrompt::toQt(model.note), this);
    m_note->setMaxLength(CShowReservation::kNoteLimit);
    form->addRow(QStringLiteral("Notes"), m_note);
    auto* reason = new QLineEdit(this);
    reason->setObjectName(QStringLiteral("reason"));
    form->addRow(QStringLiteral("R&eason for a change (kept in the history):"), reason);
    // Taken as typed: the series change runs from its own button, before OK.
    connect(reason, &QLineEdit::textChanged, this,
            [&model](const QString& text) { model.reason = CQtPrompt::toStored(text.trimmed()); });
    layout->addLayout(form);
    auto* notice = new QLabel(QString::fromLatin1(model.recurringText().c_str()), this);
    notice->setObjectName(QStringLiteral("recurringNotice"));
    layout->addWidget(notice);
    m_attendees = new QCheckBox(QStringLiteral("View/Change Attendees"), this);
    m_attendees->setEnabled(model.viewAttendeesEnabled());
    layout->addWidget(m_attendees);
    if (model.record().recurrenceCode() != 0) {
        m_series = new QListWidget(this);
        m_series->setObjectName(QStringLiteral("series"));
        m_series->setSelectionMode(QAbstractItemView::NoSelection);
        m_series->setMinimumHeight(120);
        layout->addWidget(m_series);
        m_bookFree = new QPushButton(QStringLiteral("Book Skipped Dates Free Now"), this);
        layout->addWidget(m_bookFree);
        connect(m_bookFree, &QPushButton::clicked, this, [this] {
            CSeriesInfo info(m_show.document(), m_show.record());
            info.bookSkipped(info.freeNow());
            showSeries();
        });
        showSeries();
    }
    m_change = new QPushButton(QStringLiteral("Change..."), this);
    m_change->setObjectName(QStringLiteral("changeSeries"));
    layout->addWidget(m_change);
    connect(m_change, &QPushButton::clicked, this, [this] {
        if (m_show.changeSeries()) reject();
    });
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    auto* history = buttons->addButton(QStringLiteral("&History..."), QDialogButtonBox::ActionRole);
    history->setObjectName(QStringLiteral("history"));
    connect(history, &QPushButton::clicked, this, [&model] { model.showHistory(); });
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kReservationDetail), buttons);
    setMinimumWidth(440);
}

void CShowReservationDlg::showSeries() {
    CSeriesInfo info(m_show.document(), m_show.record());
    m_series->clear();
    for (const std::string& line : info.lines())
        m_series->addItem(CQtPrompt::toQt(line));
    m_bookFree->setEnabled(!info.freeNow().empty());
}

void CShowReservationDlg::takeValues() {
    m_show.note = storedText(m_note->text(), "Notes");
    m_show.viewAttendees = m_attendees->isChecked();
}

void CShowReservationDlg::registerDialogs() {
    registerDialog<CShowReservation, CShowReservationDlg>(CShowReservation::kId);
}

} // namespace orv
