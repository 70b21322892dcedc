#pragma once
// The import dialog over CImportPeopleModel: the other group's people, several of them
// selectable, with "Select All" and "Unselect All".

#include "people/CImportPeopleModel.h"
#include "ui/CModelDialog.h"

class QListWidget;
class QPushButton;

namespace orv {

class CImportPeopleDlg : public CModelDialog {
    Q_OBJECT
public:
    CImportPeopleDlg(CImportPeopleModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QPushButton* selectAllButton() const { return m_selectAll; }
    QPushButton* unselectAllButton() const { return m_unselectAll; }

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CImportPeopleModel& m_import;
    QListWidget* m_list = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_unselectAll = nullptr;
};

} // namespace orv
