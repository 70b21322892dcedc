#pragma once
// The "Group to Open at Startup" page: reopen the last group used, or always one chosen group.

#include "app/CPreferencePage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orv {

class CUserPrompt;

class CStartupPage : public CPreferencePage {
    Q_OBJECT
public:
    CStartupPage(CUserPrompt& prompt, QWidget* parent = nullptr);

    void load(const CPreferenceValues& values) override;
    void save(CPreferenceValues& values) const override;

    QCheckBox* reopenLastBox() const { return m_reopenLast; }
    QLineEdit* pathField() const { return m_path; }
    QPushButton* browseButton() const { return m_browse; }

private:
    void browse();
    void updateEnabled();

    CUserPrompt& m_prompt;
    QCheckBox* m_reopenLast;
    QLineEdit* m_path;
    QPushButton* m_browse;
};

} // namespace orv
