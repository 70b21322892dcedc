#include "ui/CTextLinesModel.h"

#include "reports/CTextLines.h"
#include "ui/CQtPrompt.h"

namespace orv {

CTextLinesModel::CTextLinesModel(QObject* parent) : QAbstractListModel(parent) {}

void CTextLinesModel::show(const CTextLines& lines) {
    beginResetModel();
    m_lines = &lines;
    endResetModel();
}

int CTextLinesModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_lines) return 0;
    return static_cast<int>(m_lines->size());
}

QVariant CTextLinesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !m_lines || !index.isValid() || index.column() != 0 ||
        index.row() < 0 || static_cast<std::size_t>(index.row()) >= m_lines->size())
        return {};
    return CQtPrompt::toQt((*m_lines)[static_cast<std::size_t>(index.row())]);
}

} // namespace orv
