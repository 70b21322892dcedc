#pragma once
// A list view's rows over a CTextLines: each row is made into text only when the view asks for
// it, so a report of a hundred thousand lines shows at once and holds no second copy.

#include <QAbstractListModel>

namespace orv {

class CTextLines;

class CTextLinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CTextLinesModel(QObject* parent = nullptr);

    // Shows `lines`, which must outlive the model or the next show(); call it again whenever
    // they changed.
    void show(const CTextLines& lines);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const CTextLines* m_lines = nullptr;
};

} // namespace orv
