#pragma once
// A colour page: "Select Color" stores the chosen colour at once (also when the sheet is later
// cancelled); "Reset to Default" changes only the page, which is stored when the sheet applies.

#include "app/CPreferencePage.h"

class QFrame;
class QPushButton;

namespace orv {

class CColorChooser;
class CSettings;

class CColorPage : public CPreferencePage {
    Q_OBJECT
public:
    using Field = int CPreferenceValues::*;

    // `key` is the value under "Colors"; `resetValue` what "Reset to Default" sets.
    CColorPage(const QString& title, const QString& helpTopic, const QString& text, Field field,
               const char* key, int resetValue, CColorChooser& chooser, CSettings& store,
               QWidget* parent = nullptr);

    void load(const CPreferenceValues& values) override;
    void save(CPreferenceValues& values) const override;

    int color() const { return m_color; }
    QPushButton* selectButton() const { return m_select; }
    QPushButton* resetButton() const { return m_reset; }

private:
    void setColor(int color);
    void select();

    Field m_field;
    const char* m_key;
    int m_resetValue;
    CColorChooser& m_chooser;
    CSettings& m_store;
    int m_color = 0;
    QFrame* m_swatch;
    QPushButton* m_select;
    QPushButton* m_reset;
};

} // namespace orv
