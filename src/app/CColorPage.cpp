#include "app/CColorPage.h"

#include "group/CSettings.h"
#include "ui/CColorChooser.h"
#include "ui/ColorRef.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CColorPage::CColorPage(const QString& title, const QString& helpTopic, const QString& text,
                       Field field, const char* key, int resetValue, CColorChooser& chooser,
                       CSettings& store, QWidget* parent)
    : CPreferencePage(title, helpTopic, parent), m_field(field), m_key(key),
      m_resetValue(resetValue), m_chooser(chooser), m_store(store) {
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    m_swatch = new QFrame(this);
    m_swatch->setFrameShape(QFrame::Box);
    m_swatch->setFixedSize(64, 32);
    m_swatch->setAutoFillBackground(true);
    m_select = new QPushButton(QStringLiteral("Select Color"), this);
    m_reset = new QPushButton(QStringLiteral("Reset to Default"), this);

    auto* row = new QHBoxLayout;
    row->addWidget(m_swatch);
    row->addWidget(m_select);
    row->addWidget(m_reset);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addStretch(1);

    connect(m_select, &QPushButton::clicked, this, &CColorPage::select);
    connect(m_reset, &QPushButton::clicked, this, [this] {
        setColor(m_resetValue);
        emit changed();
    });
}

void CColorPage::setColor(int color) {
    m_color = color;
    QPalette palette = m_swatch->palette();
    palette.setColor(QPalette::Window, colorFromStored(color));
    m_swatch->setPalette(palette);
}

void CColorPage::select() {
    const std::optional<int> chosen = m_chooser.chooseColor(m_color);
    if (!chosen) return;
    setColor(*chosen);
    m_store.writeInt("Colors", m_key, *chosen);
    emit changed();
}

void CColorPage::load(const CPreferenceValues& values) {
    setColor(values.*m_field);
}

void CColorPage::save(CPreferenceValues& values) const {
    values.*m_field = m_color;
}

} // namespace orv
