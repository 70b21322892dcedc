#pragma once
// The owner-drawn list of the day and month overviews. Each line is a name of `nameWidth`
// characters followed by a quarter-hour line; from position nameWidth + 1 on, a run of '*' is
// drawn as a bar in the '*' colour and a run of 'P' as a bar in the 'P' colour, each bar from
// the middle of its first character to the middle of the character after its last. Everything
// else is drawn as text, each character at its own position, so the bars meet the ruler.
// Quarters a blockout holds (a 'B' at their position in the line's marks) are crossed with a
// dark hatch over their bar, so that a blockout shows apart from a reservation.

#include <QColor>
#include <QListWidget>

#include <string>
#include <vector>

namespace orv {

class CDAGListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultNameWidth = 20;

    explicit CDAGListBox(QWidget* parent = nullptr);

    int nameWidth() const { return m_nameWidth; }
    void setNameWidth(int width) { m_nameWidth = width; }
    QColor starColour() const { return m_star; }
    void setStarColour(const QColor& colour) { m_star = colour; }
    QColor partialColour() const { return m_partial; }
    void setPartialColour(const QColor& colour) { m_partial = colour; }

    static inline const QColor kBlockoutColour{64, 64, 64};

    // Replaces every line (stored text); nothing is drawn while the list is emptied and filled.
    // `marks`, when given, holds one text per line with 'B' under each blocked-out position.
    void setLines(const std::vector<std::string>& lines,
                  const std::vector<std::string>& marks = {});
    // The width of one character position: the font's average character width.
    int charWidth() const;
    // The list's size for lines of `characters` characters, `lines` of them, scroll bar and
    // frame included.
    QSize sizeFor(int characters, int lines) const;

signals:
    // A line was clicked or activated (Enter); the selection is cleared afterwards.
    void lineChosen(int row);

private:
    int m_nameWidth = kDefaultNameWidth;
    QColor m_star = Qt::red;
    QColor m_partial = QColor(255, 255, 0);
};

} // namespace orv
