#pragma once
// The one door from the logic to the user. Logic never shows a message box, a file chooser or a
// nested dialog itself; it asks a CUserPrompt. The desktop program answers with Qt, the command
// line with flags and standard error, tests with a script that records every message.
//
// All texts are stored text (Windows-1252); implementations convert for display.

#include "group/CProgress.h"

#include <memory>
#include <optional>
#include <string>

namespace orv {

enum class PromptIcon { none, error, question, information, warning };

// Values of one modal dialog, shown by the implementation and taken back on OK. Each concrete
// model names its dialog with id(); onOk() is the dialog's own check of OK and returns false to
// keep the dialog open (it tells the user why through the prompt).
class CDialogModel {
public:
    virtual ~CDialogModel() = default;
    virtual const char* id() const = 0;
    virtual bool onOk(class CUserPrompt& prompt) = 0;
};

struct FileChoice {
    std::string title;
    std::string defaultExtension; // without the dot
    std::string initialName;      // may hold a pattern such as "*people.dbf"
    std::string filter;           // "Name (*.x)|*.x|All Files (*.*)|*.*||"
    bool mustExist = true;        // false: the chosen file may be new (a save chooser)
    std::string folder;           // where the chooser starts; empty: the current folder
};

class CUserPrompt {
public:
    virtual ~CUserPrompt() = default;
    // A message box with an OK button.
    virtual void message(const std::string& text, const std::string& title, PromptIcon icon) = 0;
    // A question with Yes and No and the question icon; true for Yes.
    virtual bool ask(const std::string& text, const std::string& title) = 0;
    // A file chooser; nothing when cancelled. The path is a native path.
    virtual std::optional<std::string> chooseFile(const FileChoice& choice) = 0;
    // Runs a modal dialog on the model; true when it ended with OK.
    virtual bool runDialog(CDialogModel& dialog) = 0;
    // Shows or hides the busy cursor.
    virtual void waitCursor(bool on) = 0;
    // Progress of long work under this label (stored text); `cancellable` offers a Cancel. The
    // progress ends when the object is destroyed.
    virtual std::unique_ptr<CProgress> progress(const std::string& label, bool cancellable) {
        (void)label;
        (void)cancellable;
        return std::make_unique<CProgress>();
    }
};

// What an error message shows: `text`, then on a line of its own the operating system's reason
// for the failure just taken from the engine (permission, a full disk, an I/O error), when it
// had one. Every prompt that shows messages to a person passes its error messages through here.
std::string withSystemReason(const std::string& text, PromptIcon icon);

// The title the system uses for a message without a title of its own.
inline const char* kAppTitle = "ORV Scheduler";

} // namespace orv
