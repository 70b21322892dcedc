#pragma once
// Base of the Qt dialogs that show a CDialogModel. OK first has every date and time picker take
// the text typed into it (and stays when one cannot), then moves the widget values into the
// model (takeValues), then asks the model's own check (onOk); a refused OK keeps the dialog open
// with its values. setHelpTopic() makes F1 and a "Help" button open the dialog's help page.

#include "group/CUserPrompt.h"

#include <QDialog>

#include <string>

class QDialogButtonBox;

namespace orv {

class CModelDialog : public QDialog {
    Q_OBJECT
public:
    CModelDialog(CDialogModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    // F1 opens the topic; when `buttons` is given, its Help button does too.
    void setHelpTopic(const QString& topic, QDialogButtonBox* buttons = nullptr);
    const QString& helpTopic() const { return m_helpTopic; }

    void accept() override;

protected:
    // The first showing makes the dialog wide enough for its title beside the title bar's
    // buttons, so that no window manager cuts it.
    void showEvent(QShowEvent* event) override;
    // Widget values into the model, before its OK check.
    virtual void takeValues() {}
    // takeValues(), then false after telling the user when a text held characters the tables
    // cannot store (the model's check does not run then, and the dialog stays open).
    bool takeCheckedValues();
    // A typed text as stored text. A character the tables cannot hold is not replaced silently:
    // the first such field (`what`, its label) is refused by takeCheckedValues().
    std::string storedText(const QString& text, const char* what);
    // Model values into the widgets, after a refused OK (the check may have changed them).
    virtual void refreshValues() {}
    CDialogModel& model() { return m_model; }
    CUserPrompt& prompt() { return m_prompt; }

private:
    CDialogModel& m_model;
    CUserPrompt& m_prompt;
    QString m_helpTopic;
    std::string m_refusal;
    bool m_shownOnce = false;
};

} // namespace orv
