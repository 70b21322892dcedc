#pragma once
// "Select Attendees": the two lists of CRosterModel with the buttons that move people between
// them.

#include "reservations/CRosterModel.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QListWidget;

namespace orv {

class CRosterDlg : public CModelDialog {
    Q_OBJECT
public:
    CRosterDlg(CRosterModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QListWidget* allList() const { return m_all; }
    QListWidget* attendingList() const { return m_attending; }
    void moveRight();
    void moveLeft();

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    void showLists();

    CRosterModel& m_roster;
    QListWidget* m_all = nullptr;
    QListWidget* m_attending = nullptr;
    QCheckBox* m_includeLater = nullptr;
};

} // namespace orv
