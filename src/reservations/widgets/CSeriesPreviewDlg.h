#pragma once
// "Preview of the Series": the widgets of CSeriesPreview. OK books the free dates.

#include "reservations/CSeriesPreview.h"
#include "ui/CModelDialog.h"

class QListWidget;

namespace orv {

class CSeriesPreviewDlg : public CModelDialog {
    Q_OBJECT
public:
    CSeriesPreviewDlg(CSeriesPreview& model, CUserPrompt& prompt, QWidget* parent = nullptr);
    static void registerDialogs();
    QListWidget* dateList() const { return m_list; }

private:
    QListWidget* m_list = nullptr;
};

} // namespace orv
