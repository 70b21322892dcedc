#pragma once
// "List of Future Reservations for %s, %s %s": the widgets of CPersonReservations. "Show
// Reservation" and a double click open the selected reservation's detail.

#include "reports/CPersonReservations.h"
#include "ui/CModelDialog.h"

class QListWidget;
class QPushButton;

namespace orv {

class CPersonResDlg : public CModelDialog {
    Q_OBJECT
public:
    CPersonResDlg(CPersonReservations& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    static void registerDialogs();

    QListWidget* list() const { return m_list; }
    QPushButton* showButton() const { return m_show; }

private:
    void showSelected();
    void showLines();

    CPersonReservations& m_reservations;
    QListWidget* m_list = nullptr;
    QPushButton* m_show = nullptr;
};

} // namespace orv
