#include "app/CCheckBoxPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace orv {

CCheckBoxPage::CCheckBoxPage(const QString& title, const QString& helpTopic, QWidget* parent)
    : CPreferencePage(title, helpTopic, parent), m_layout(new QVBoxLayout(this)) {
    m_layout->addStretch(1);
}

QLabel* CCheckBoxPage::addText(const QString& text) {
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    m_layout->insertWidget(m_layout->count() - 1, label);
    return label;
}

QCheckBox* CCheckBoxPage::addCheck(const QString& text, Field field) {
    auto* box = new QCheckBox(text, this);
    m_layout->insertWidget(m_layout->count() - 1, box);
    m_checks.emplace_back(box, field);
    connect(box, &QCheckBox::clicked, this, &CPreferencePage::changed);
    return box;
}

void CCheckBoxPage::load(const CPreferenceValues& values) {
    for (auto& [box, field] : m_checks)
        box->setChecked(values.*field != 0);
}

void CCheckBoxPage::save(CPreferenceValues& values) const {
    for (const auto& [box, field] : m_checks)
        values.*field = box->isChecked() ? 1 : 0;
}

} // namespace orv
