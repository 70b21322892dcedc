#include "ui/CModelDialog.h"

#include "tables/Cp1252.h"
#include "ui/CHelpWindow.h"
#include "ui/CKeyboardAccess.h"
#include "ui/CQtDates.h"

#include <QFontMetrics>

namespace orv {

CModelDialog::CModelDialog(CDialogModel& model, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompt(prompt) {}

void CModelDialog::setHelpTopic(const QString& topic, QDialogButtonBox* buttons) {
    m_helpTopic = topic;
    attachHelp(this, topic, buttons);
}

bool CModelDialog::takeCheckedValues() {
    if (!takeTypedEntriesQt(this)) return false;
    m_refusal.clear();
    takeValues();
    if (m_refusal.empty()) return true;
    m_prompt.message(m_refusal, kAppTitle, PromptIcon::error);
    return false;
}

std::string CModelDialog::storedText(const QString& text, const char* what) {
    std::vector<std::string> unstorable;
    std::string stored = utf8ToCp1252(text.toStdString(), &unstorable);
    if (!unstorable.empty() && m_refusal.empty()) m_refusal = unstorableMessage(what, unstorable);
    return stored;
}

void CModelDialog::showEvent(QShowEvent* event) {
    if (!m_shownOnce) {
        m_shownOnce = true;
        completeKeyboardAccess(this);
        const QFontMetrics fm(font());
        // The title bar's icon and buttons take about eight lines' height of its width.
        const int titleWidth = fm.horizontalAdvance(windowTitle()) + 8 * fm.height();
        if (width() < titleWidth) resize(titleWidth, height());
    }
    QDialog::showEvent(event);
}

void CModelDialog::accept() {
    if (!takeCheckedValues()) return;
    if (m_model.onOk(m_prompt))
        QDialog::accept();
    else
        refreshValues();
}

} // namespace orv
