#pragma once
// "Change Series": the widgets of CSeriesChange, opened from the reservation detail.

#include "reservations/CSeriesChange.h"
#include "ui/CModelDialog.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTimeEdit;

namespace orv {

class CSeriesChangeDlg : public CModelDialog {
    Q_OBJECT
public:
    CSeriesChangeDlg(CSeriesChange& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QTimeEdit* startPicker() const { return m_start; }
    QTimeEdit* endPicker() const { return m_end; }
    QButtonGroup* scopes() const { return m_scope; }

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CSeriesChange& m_change;
    QButtonGroup* m_scope = nullptr;
    QTimeEdit* m_start = nullptr;
    QTimeEdit* m_end = nullptr;
    QComboBox* m_item = nullptr;
    QComboBox* m_person = nullptr;
    QLineEdit* m_note = nullptr;
    QCheckBox* m_showNote = nullptr;
};

} // namespace orv
