#pragma once
// Context help (Shift+F1 or the toolbar's help button): the cursor turns into a question arrow,
// and the next click on a menu entry, a toolbar button or a window opens the help topic of what
// was clicked instead of running it. Escape leaves the mode.

#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;

namespace orv {

class CContextHelpMode : public QObject {
    Q_OBJECT
public:
    // `topicAt` names the topic of a click on `widget` at `pos` (widget coordinates).
    using TopicAt = std::function<QString(QWidget* widget, QPoint pos)>;

    explicit CContextHelpMode(TopicAt topicAt, QObject* parent = nullptr);
    ~CContextHelpMode() override;

    void enter();
    void leave();
    bool isActive() const { return m_active; }

signals:
    void topicChosen(const QString& topic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TopicAt m_topicAt;
    bool m_active = false;
};

} // namespace orv
