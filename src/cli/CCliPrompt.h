#pragma once
// The command line's door to the user: messages go to standard error, questions are answered by
// --yes, file choosers by the paths given on the command line, and dialogs by the values given
// as options (the dialog's own check of OK still runs; a refused OK ends the command).

#include "group/CUserPrompt.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace orv::cli {

class CCliPrompt : public CUserPrompt {
public:
    using Filler = std::function<void(CDialogModel&)>;

    explicit CCliPrompt(bool yes = false) : m_yes(yes) {}

    void message(const std::string& text, const std::string& title, PromptIcon icon) override;
    bool ask(const std::string& text, const std::string& title) override;
    std::optional<std::string> chooseFile(const FileChoice& choice) override;
    bool runDialog(CDialogModel& dialog) override;
    void waitCursor(bool) override {}
    std::unique_ptr<CProgress> progress(const std::string& label, bool cancellable) override;

    // This question gets this answer instead of the --yes default.
    void setAnswer(const std::string& question, bool yes) { m_answers[question] = yes; }
    // The next file chooser gets this path.
    void queueFile(const std::string& path) { m_files.push_back(path); }
    // The dialog with this id gets its values from `fill`.
    void setDialog(const std::string& id, Filler fill) { m_dialogs[id] = std::move(fill); }
    // The dialog with this id is shown to `look` and then cancelled.
    void cancelDialog(const std::string& id, Filler look) {
        m_dialogs[id] = std::move(look);
        m_cancelled.insert(id);
    }
    // Whether a message with the error icon was shown, and how many were.
    bool reportedError() const { return m_errors > 0; }
    int errorsReported() const { return m_errors; }
    // Completion reports (the information icon) go to standard output as their bare text, for
    // commands whose result they are.
    void reportOnStdout() { m_reportOnStdout = true; }
    // Questions are answered Yes without being shown: the command itself was the confirmation.
    void answerYesSilently() { m_yes = m_silentYes = true; }

private:
    bool m_yes;
    bool m_reportOnStdout = false;
    bool m_silentYes = false;
    int m_errors = 0;
    std::deque<std::string> m_files;
    std::map<std::string, Filler> m_dialogs;
    std::map<std::string, bool> m_answers;
    std::set<std::string> m_cancelled;
};

} // namespace orv::cli
