#pragma once
// The "Day at a Glance" page: the whole day, or twelve hours from a starting hour 0 to 12.

#include "app/CPreferencePage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace orv {

class CDayGlancePage : public CPreferencePage {
    Q_OBJECT
public:
    static constexpr int kMinHour = 0;
    static constexpr int kMaxHour = 12;

    explicit CDayGlancePage(QWidget* parent = nullptr);

    void load(const CPreferenceValues& values) override;
    std::optional<Problem> check() const override;
    void save(CPreferenceValues& values) const override;

    QLineEdit* hourField() const { return m_hour; }
    QCheckBox* fullDayBox() const { return m_fullDay; }
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }
    QLabel* hourLabel() const { return m_label; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateEnabled();
    void step(int delta);

    QCheckBox* m_fullDay;
    QLabel* m_label;
    QLineEdit* m_hour;
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace orv
