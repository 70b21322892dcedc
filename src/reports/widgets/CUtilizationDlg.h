#pragma once
// "Utilization Report Options": the widgets of CUtilizationOptions. The hour pickers and their
// labels are enabled only while "Calculate Utilization Between" is ticked.

#include "reports/CUtilizationOptions.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QTimeEdit;

namespace orv {

class CUtilizationDlg : public CModelDialog {
    Q_OBJECT
public:
    CUtilizationDlg(CUtilizationOptions& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QDateEdit* startPicker() const { return m_start; }
    QDateEdit* endPicker() const { return m_end; }
    QListWidget* items() const { return m_items; }
    QCheckBox* windowBox() const { return m_window; }
    QTimeEdit* startHourPicker() const { return m_startHour; }
    QTimeEdit* endHourPicker() const { return m_endHour; }

    // Shows the utilization options dialog for its model.
    static void registerDialogs();

protected:
    void takeValues() override;

private:
    void updateEnabled();

    CUtilizationOptions& m_options;
    QDateEdit* m_start = nullptr;
    QDateEdit* m_end = nullptr;
    QListWidget* m_items = nullptr;
    QCheckBox* m_window = nullptr;
    QLabel* m_startHourLabel = nullptr;
    QLabel* m_endHourLabel = nullptr;
    QTimeEdit* m_startHour = nullptr;
    QTimeEdit* m_endHour = nullptr;
};

} // namespace orv
