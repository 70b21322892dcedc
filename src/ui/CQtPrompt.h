#pragma once
// The desktop program's door to the user: message boxes, questions, file choosers, the nested
// dialogs registered in CDialogRegistry, the busy cursor and the colour chooser. Texts arrive as
// stored text (Windows-1252) and are converted for Qt; chosen paths come back as native paths.

#include "group/CUserPrompt.h"
#include "ui/CColorChooser.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string_view>

namespace orv {

class CQtPrompt : public CUserPrompt, public CColorChooser {
public:
    // Boxes and choosers belong to the running modal dialog, else to `parent`, else to the
    // active window.
    explicit CQtPrompt(QWidget* parent = nullptr);
    ~CQtPrompt() override;

    void setParentWidget(QWidget* parent) { m_parent = parent; }

    void message(const std::string& text, const std::string& title, PromptIcon icon) override;
    bool ask(const std::string& text, const std::string& title) override;
    std::optional<std::string> chooseFile(const FileChoice& choice) override;
    // False when no dialog is registered for the model's id.
    bool runDialog(CDialogModel& dialog) override;
    void waitCursor(bool on) override;
    std::unique_ptr<CProgress> progress(const std::string& label, bool cancellable) override;

    std::optional<int> chooseColor(int initial) override;

    // "Name (*.x)|*.x|All Files (*.*)|*.*||" as Qt's "Name (*.x);;All Files (*)". A name without
    // a pattern in parentheses gets its pattern appended.
    static QString toQtFilter(const std::string& filter);
    static QString toQt(std::string_view stored);
    static std::string toStored(const QString& text);

private:
    QWidget* parentWidget() const;

    QPointer<QWidget> m_parent;
    int m_waitDepth = 0;
};

} // namespace orv
