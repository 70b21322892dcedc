#include "app/CModelDialog.h"

#include "app/CHelpWindow.h"
#include "app/CQtDates.h"

namespace orv {

CModelDialog::CModelDialog(CDialogModel& model, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompt(prompt) {}

void CModelDialog::setHelpTopic(const QString& topic, QDialogButtonBox* buttons) {
    m_helpTopic = topic;
    attachHelp(this, topic, buttons);
}

void CModelDialog::accept() {
    if (!takeTypedEntriesQt(this)) return;
    takeValues();
    if (m_model.onOk(m_prompt))
        QDialog::accept();
    else
        refreshValues();
}

} // namespace orv
