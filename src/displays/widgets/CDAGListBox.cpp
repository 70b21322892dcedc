#include "displays/widgets/CDAGListBox.h"

#include "ui/CQtPrompt.h"
#include "ui/ColorRef.h"

#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

namespace orv {

namespace {

bool isBar(QChar c) {
    return c == u'*' || c == u'P';
}

class CDAGLineDelegate : public QStyledItemDelegate {
public:
    explicit CDAGLineDelegate(CDAGListBox* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QString text = index.data(Qt::DisplayRole).toString();
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        const QRect r = option.rect;
        const int w = QFontMetrics(option.font).averageCharWidth();
        const int nameWidth = m_list->nameWidth();

        painter->save();
        painter->setFont(option.font);
        painter->fillRect(r, selected ? palette.highlight() : palette.base());
        painter->setPen(selected ? palette.color(QPalette::HighlightedText)
                                 : palette.color(QPalette::Text));
        painter->setBackgroundMode(Qt::TransparentMode);

        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip;
        painter->drawText(QRect(r.left(), r.top(), (nameWidth + 1) * w, r.height()),
                          flags & ~Qt::TextDontClip, text.left(nameWidth));
        int p = nameWidth + 1;
        while (p < text.size()) {
            const QChar c = text.at(p);
            int end = p + 1;
            if (isBar(c))
                while (end < text.size() && text.at(end) == c)
                    ++end;
            else
                while (end < text.size() && !isBar(text.at(end)))
                    ++end;
            if (isBar(c)) {
                const int from = r.left() + p * w + w / 2;
                const int to = r.left() + end * w + w / 2;
                const QColor bar = c == u'*' ? m_list->starColour() : m_list->partialColour();
                const QRect area(from, r.top(), to - from, r.height());
                painter->fillRect(area, bar);
                // A bar too faint on the list's background (a light colour on a light
                // palette, a dark one on a dark palette) gets an outline in the text colour.
                const QColor back =
                    selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base);
                if (CContrast::ratio({bar.red(), bar.green(), bar.blue()},
                                     {back.red(), back.green(), back.blue()}) <
                    CContrast::kMinimumMarkRatio) {
                    painter->save();
                    painter->setPen(painter->pen().color());
                    painter->setBrush(Qt::NoBrush);
                    painter->drawRect(area.adjusted(0, 0, -1, -1));
                    painter->restore();
                }
            } else {
                // Character by character: where the font's advance is not exactly w, a run
                // drawn whole would drift off the positions of the bars and of the other lines.
                for (int q = p; q < end; ++q)
                    painter->drawText(QRect(r.left() + q * w, r.top(), w, r.height()), flags,
                                      QString(text.at(q)));
            }
            p = end;
        }
        const QString marks = index.data(Qt::UserRole).toString();
        for (int q = nameWidth + 1; q < marks.size(); ++q) {
            if (marks.at(q) != u'B') continue;
            int end = q + 1;
            while (end < marks.size() && marks.at(end) == u'B')
                ++end;
            const int from = r.left() + q * w + w / 2;
            const int to = r.left() + end * w + w / 2;
            painter->fillRect(QRect(from, r.top(), to - from, r.height()),
                              QBrush(CDAGListBox::kBlockoutColour, Qt::BDiagPattern));
            q = end;
        }
        painter->restore();
    }

private:
    CDAGListBox* m_list;
};

} // namespace

CDAGListBox::CDAGListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new CDAGLineDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    const auto choose = [this](QListWidgetItem* item) {
        emit lineChosen(row(item));
        clearSelection();
    };
    connect(this, &QListWidget::itemClicked, this, choose);
    connect(this, &QListWidget::itemActivated, this, choose);
}

void CDAGListBox::setLines(const std::vector<std::string>& lines,
                           const std::vector<std::string>& marks) {
    setUpdatesEnabled(false);
    clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto* item = new QListWidgetItem(CQtPrompt::toQt(lines[i]), this);
        if (i < marks.size() && marks[i].find('B') != std::string::npos)
            item->setData(Qt::UserRole, QString::fromLatin1(marks[i]));
    }
    setUpdatesEnabled(true);
}

int CDAGListBox::charWidth() const {
    return fontMetrics().averageCharWidth();
}

QSize CDAGListBox::sizeFor(int characters, int lines) const {
    const int frame = 2 * frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int row = count() > 0 ? sizeHintForRow(0) : fontMetrics().height();
    return {charWidth() * (characters + 1) + scrollBar + frame, row * lines + scrollBar + frame};
}

} // namespace orv
