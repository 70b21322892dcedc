#include "people/widgets/CPersonListDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

QListWidget* CPersonListDlg::peopleList(QWidget* parent, const std::vector<CListLine>& lines) {
    auto* list = new QListWidget(parent);
    for (const CListLine& line : lines)
        list->addItem(CQtPrompt::toQt(line.text));
    fitListQt(list, 380, 260);
    return list;
}

namespace {

const char* helpFor(CPeople::Kind kind) {
    return kind == CPeople::Kind::Attendee ? help::kAttendees : help::kPeople;
}

} // namespace

CPersonListDlg::CPersonListDlg(CPersonListModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_model(model) {
    setWindowTitle(QString::fromLatin1(model.title()));
    auto* layout = new QVBoxLayout(this);
    m_list = peopleList(this, model.lines());
    m_list->setAccessibleName(windowTitle());
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    const bool attendance = model.kind() == CPeople::Kind::Attendee;
    setHelpTopic(QString::fromLatin1(model.use() != CPersonListModel::Use::Choose
                                         ? helpFor(model.kind())
                                     : attendance ? help::kAttendance
                                                  : help::kPersonReservations),
                 buttons);
}

void CPersonListDlg::takeValues() {
    const QList<QListWidgetItem*> chosen = m_list->selectedItems();
    m_model.selected = chosen.isEmpty() ? -1 : m_list->row(chosen.front());
}

void CPersonListDlg::registerDialogs() {
    registerDialog<CPersonListModel, CPersonListDlg>(CPersonListModel::kId);
}

} // namespace orv
