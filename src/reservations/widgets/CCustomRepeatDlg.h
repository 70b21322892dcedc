#pragma once
// "Custom Repeat": the widgets of CCustomRepeat. The summary line follows every change.

#include "reservations/CCustomRepeat.h"
#include "ui/CModelDialog.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace orv {

class CCustomRepeatDlg : public CModelDialog {
    Q_OBJECT
public:
    CCustomRepeatDlg(CCustomRepeat& model, CUserPrompt& prompt, QWidget* parent = nullptr);
    static void registerDialogs();

    QComboBox* frequency() const { return m_frequency; }
    QSpinBox* interval() const { return m_interval; }
    QCheckBox* weekday(int day) const { return m_weekdays.at(static_cast<std::size_t>(day)); }
    QLabel* summary() const { return m_summary; }

protected:
    void takeValues() override;

private:
    void changed();

    CCustomRepeat& m_custom;
    bool m_ready = false;
    QComboBox* m_frequency = nullptr;
    QSpinBox* m_interval = nullptr;
    QLabel* m_unit = nullptr;
    QWidget* m_weekly = nullptr;
    std::vector<QCheckBox*> m_weekdays;
    QWidget* m_monthly = nullptr;
    QRadioButton* m_onDay = nullptr;
    QRadioButton* m_onWeekday = nullptr;
    QSpinBox* m_monthDay = nullptr;
    QComboBox* m_ordinal = nullptr;
    QComboBox* m_ordinalWeekday = nullptr;
    QWidget* m_yearly = nullptr;
    QComboBox* m_month = nullptr;
    QSpinBox* m_yearDay = nullptr;
    QRadioButton* m_endsOn = nullptr;
    QRadioButton* m_endsAfter = nullptr;
    QDateEdit* m_until = nullptr;
    QSpinBox* m_count = nullptr;
    QDateEdit* m_leaveOutDate = nullptr;
    QListWidget* m_leftOut = nullptr;
    QLabel* m_summary = nullptr;
};

} // namespace orv
