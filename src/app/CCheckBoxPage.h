#pragma once
// A page of explanations and check boxes, each box bound to one value of CPreferenceValues.

#include "app/CPreferencePage.h"

#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QVBoxLayout;

namespace orv {

class CCheckBoxPage : public CPreferencePage {
    Q_OBJECT
public:
    using Field = int CPreferenceValues::*;

    CCheckBoxPage(const QString& title, const QString& helpTopic, QWidget* parent = nullptr);

    QLabel* addText(const QString& text);
    QCheckBox* addCheck(const QString& text, Field field);

    void load(const CPreferenceValues& values) override;
    void save(CPreferenceValues& values) const override;

private:
    QVBoxLayout* m_layout;
    std::vector<std::pair<QCheckBox*, Field>> m_checks;
};

} // namespace orv
