#include "reservations/widgets/CSeriesChangeDlg.h"

#include "reservations/CShowReservation.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/HelpTopics.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace orv {

CSeriesChangeDlg::CSeriesChangeDlg(CSeriesChange& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_change(model) {
    setWindowTitle(QString::fromLatin1(CSeriesChange::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* scope = new QGroupBox(QStringLiteral("Change"), this);
    auto* scopeLayout = new QVBoxLayout(scope);
    m_scope = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(CSeriesChange::kScopes[i]), scope);
        radio->setEnabled(i == 0 || model.inSeries());
        radio->setChecked(i == static_cast<int>(model.scope));
        m_scope->addButton(radio, i);
        scopeLayout->addWidget(radio);
    }
    layout->addWidget(scope);

    auto* form = new QFormLayout;
    const QString format = QStringLiteral("hh':'mm AP");
    m_start = timePickerQt(model.start / 100, model.start % 100, format, "start", this);
    m_end = timePickerQt(model.end / 100, model.end % 100, format, "end", this);
    form->addRow(QStringLiteral("Start Time"), m_start);
    form->addRow(QStringLiteral("End Time"), m_end);
    m_item = new QComboBox(this);
    for (const std::string& name : model.itemNames())
        m_item->addItem(CQtPrompt::toQt(name));
    m_item->setCurrentText(CQtPrompt::toQt(model.item));
    form->addRow(QStringLiteral("Item"), m_item);
    m_person = new QComboBox(this);
    for (const auto& [line, key] : model.people()) {
        m_person->addItem(CQtPrompt::toQt(line));
        if (key == model.person) m_person->setCurrentIndex(m_person->count() - 1);
    }
    form->addRow(QStringLiteral("Reserved For"), m_person);
    m_note = new QLineEdit(CQtPrompt::toQt(model.note), this);
    m_note->setMaxLength(CShowReservation::kNoteLimit);
    form->addRow(QStringLiteral("Notes"), m_note);
    m_showNote = new QCheckBox(QStringLiteral("Show Note in Reservation"), this);
    m_showNote->setChecked(model.showNote);
    form->addRow(QString(), m_showNote);
    layout->addLayout(form);
    auto* attendees = new QPushButton(QStringLiteral("Attendees..."), this);
    attendees->setObjectName(QStringLiteral("attendees"));
    attendees->setEnabled(model.attendeesEnabled());
    layout->addWidget(attendees);
    connect(attendees, &QPushButton::clicked, this,
            [this] { m_change.chooseAttendees(CModelDialog::prompt()); });
    addOkCancelHelpQt(this, layout, help::kReservationDetail);
}

void CSeriesChangeDlg::takeValues() {
    m_change.scope = static_cast<CSeriesChange::Scope>(std::max(0, m_scope->checkedId()));
    m_change.start = m_start->time().hour() * 100 + m_start->time().minute();
    const int end = m_end->time().hour() * 100 + m_end->time().minute();
    // An end of 00:00 is midnight, as in Make Reservation.
    m_change.end = end == 0 ? 2359 : end;
    const std::string item = storedText(m_item->currentText(), "Item");
    if (!item.empty()) m_change.item = item;
    const int person = m_person->currentIndex();
    if (person >= 0 && person < static_cast<int>(m_change.people().size()))
        m_change.person = m_change.people()[static_cast<std::size_t>(person)].second;
    m_change.note = storedText(m_note->text(), "Notes");
    m_change.showNote = m_showNote->isChecked();
}

void CSeriesChangeDlg::registerDialogs() {
    registerDialog<CSeriesChange, CSeriesChangeDlg>(CSeriesChange::kId);
}

} // namespace orv
