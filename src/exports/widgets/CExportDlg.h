#pragma once
// "Export Reservations" over CExportModel, and "Calendar File" over CCalendarFeedModel.

#include "exports/CCalendarFeedModel.h"
#include "exports/CExportModel.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;

namespace orv {

class CExportDlg : public CModelDialog {
    Q_OBJECT
public:
    CExportDlg(CExportModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);
    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CExportModel& m_export;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QComboBox* m_format = nullptr;
    QCheckBox* m_floating = nullptr;
    QListWidget* m_items = nullptr;
    QListWidget* m_people = nullptr;
};

} // namespace orv
