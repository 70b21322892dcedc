#pragma once
// "Reservations for %s": an item's records of one date (CItemDayModel) with the buttons that act
// on them. The list is set in a fixed-pitch font so that its columns stand under the header.

#include "reservations/CItemDayModel.h"
#include "ui/CModelDialog.h"

class QDateEdit;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;

namespace orv {

class CRoomInfoDlg : public CModelDialog {
    Q_OBJECT
public:
    CRoomInfoDlg(CItemDayModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QDateEdit* datePicker() const { return m_date; }
    QListWidget* list() const { return m_list; }
    QPushButton* button(const QString& text) const;

    // One page: the long date, the title, the description line and the list lines.
    void printTo(QPrinter& printer);

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    void showDay();
    void act(void (CItemDayModel::*action)());
    void print();

    CItemDayModel& m_day;
    QDateEdit* m_date = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_terminate = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_cancelPart = nullptr;
    bool m_showing = false;
};

} // namespace orv
