#include "reservations/widgets/CDeleteResDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/HelpTopics.h"

#include <QLabel>
#include <QVBoxLayout>

namespace orv {

CDeleteResDlg::CDeleteResDlg(CDeleteRes& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_delete(model) {
    setWindowTitle(QString::fromLatin1(CDeleteRes::kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(CDeleteRes::kPrompt), this));
    m_date = datePickerQt(model.date, "date", this);
    layout->addWidget(m_date);
    addOkCancelHelpQt(this, layout, help::kDeleteOldReservations);
}

void CDeleteResDlg::takeValues() {
    m_delete.date = fromQDate(m_date->date());
}

void CDeleteResDlg::registerDialogs() {
    registerDialog<CDeleteRes, CDeleteResDlg>(CDeleteRes::kId);
}

} // namespace orv
