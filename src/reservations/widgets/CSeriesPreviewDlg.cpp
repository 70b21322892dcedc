#include "reservations/widgets/CSeriesPreviewDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/HelpTopics.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CSeriesPreviewDlg::CSeriesPreviewDlg(CSeriesPreview& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent) {
    setWindowTitle(QString::fromLatin1(CSeriesPreview::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(CQtPrompt::toQt(model.summary()), this);
    summary->setObjectName(QStringLiteral("summary"));
    layout->addWidget(summary);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("dates"));
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    const auto& entries = model.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* line = new QListWidgetItem(CQtPrompt::toQt(CSeriesPreview::line(entries[i])), m_list);
        if (entries[i].state != CSeriesPreview::State::free) line->setForeground(Qt::darkRed);
    }
    m_list->setMinimumSize(560, 260);
    layout->addWidget(m_list);
    layout->addWidget(new QLabel(
        QStringLiteral("OK books the free dates; the others are kept with the series."), this));
    addOkCancelHelpQt(this, layout, help::kMakeReservation);
}

void CSeriesPreviewDlg::registerDialogs() {
    registerDialog<CSeriesPreview, CSeriesPreviewDlg>(CSeriesPreview::kId);
}

} // namespace orv
