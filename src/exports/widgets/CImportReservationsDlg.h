#pragma once
// "Import Reservations" over CReservationImport: for a CSV file the columns and the date form
// (the first rows show how they read), the item for every reservation, what unknown items and
// people become, and the preview of every line with a tick box. Every change of a choice shows
// the preview again.

#include "exports/CReservationImport.h"
#include "ui/CModelDialog.h"

#include <vector>

class QComboBox;
class QFormLayout;
class QLabel;
class QListWidget;

namespace orv {

class CImportReservationsDlg : public CModelDialog {
    Q_OBJECT
public:
    CImportReservationsDlg(CReservationImport& model, CUserPrompt& prompt,
                           QWidget* parent = nullptr);
    static void registerDialogs();

protected:
    void takeValues() override;

private:
    // The choices into the model, then the preview again.
    void rechoose();
    void fillPreview();
    void fillUnknowns();

    CReservationImport& m_import;
    QComboBox* m_dateForm = nullptr;
    std::vector<QComboBox*> m_columns;
    QListWidget* m_firstRows = nullptr;
    QComboBox* m_item = nullptr;
    QFormLayout* m_unknownItems = nullptr;
    QFormLayout* m_unknownPeople = nullptr;
    QListWidget* m_preview = nullptr;
    QLabel* m_counts = nullptr;
    bool m_filling = false;
};

} // namespace orv
