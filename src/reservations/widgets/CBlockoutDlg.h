#pragma once
// "Block Reservations for a Specified Date": the widgets of CBlockoutModel. It closes with OK only
// after a blockout that was written whole.

#include "reservations/CBlockoutModel.h"
#include "ui/CModelDialog.h"

class QDateEdit;
class QListWidget;
class QTimeEdit;

namespace orv {

class CBlockoutDlg : public CModelDialog {
    Q_OBJECT
public:
    CBlockoutDlg(CBlockoutModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QDateEdit* datePicker() const { return m_date; }
    QTimeEdit* startPicker() const { return m_start; }
    QTimeEdit* endPicker() const { return m_end; }
    QListWidget* items() const { return m_items; }

    // Shows the blockout dialog for its model.
    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CBlockoutModel& m_blockout;
    QDateEdit* m_date = nullptr;
    QTimeEdit* m_start = nullptr;
    QTimeEdit* m_end = nullptr;
    QListWidget* m_items = nullptr;
};

} // namespace orv
