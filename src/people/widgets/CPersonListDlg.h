#pragma once
// The list of the people of one kind (CPersonListModel): pick one to change, browse, or choose
// whose reservations or attendance to show.

#include "people/CPersonListModel.h"
#include "ui/CModelDialog.h"

class QListWidget;

namespace orv {

class CPersonListDlg : public CModelDialog {
    Q_OBJECT
public:
    CPersonListDlg(CPersonListModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);
    QListWidget* list() const { return m_list; }
    // Shows the person list dialog for its model.
    static void registerDialogs();
    // A list of people lines, one line each.
    static QListWidget* peopleList(QWidget* parent, const std::vector<CListLine>& lines);

protected:
    void takeValues() override;

private:
    CPersonListModel& m_model;
    QListWidget* m_list = nullptr;
};

} // namespace orv
