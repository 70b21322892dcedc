#pragma once
// "Reservations Attended by %s %s %s": the lines of CAttendance, OK, Cancel and Print.

#include "reports/CAttendance.h"
#include "ui/CModelDialog.h"

class QListWidget;

namespace orv {

class CAttendanceDlg : public CModelDialog {
    Q_OBJECT
public:
    CAttendanceDlg(CAttendance& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    static void registerDialogs();

    QListWidget* list() const { return m_list; }

private:
    QListWidget* m_list = nullptr;
};

} // namespace orv
