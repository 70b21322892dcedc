#pragma once
// A user who answers from a script: records every message (text, title, icon), answers questions
// and file choosers from queues, and fills dialogs with scripted steps. A dialog step sets values
// and presses OK (the dialog's own check runs, and a refused OK takes the next step) or Cancel.

#include "group/CUserPrompt.h"

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orv::test {

struct RecordedMessage {
    std::string text;
    std::string title;
    PromptIcon icon;
    bool question = false;
    bool operator==(const RecordedMessage& o) const {
        return text == o.text && title == o.title && icon == o.icon && question == o.question;
    }
};

class ScriptedPrompt : public CUserPrompt {
public:
    // A step fills the dialog; returning false presses Cancel.
    using DialogStep = std::function<bool(CDialogModel&)>;

    std::vector<RecordedMessage> messages;
    std::deque<bool> answers;                     // for ask(); No when empty
    std::deque<std::optional<std::string>> files; // for chooseFile(); cancel when empty
    std::deque<DialogStep> dialogSteps;           // for runDialog(); cancel when empty
    std::vector<FileChoice> fileChoices;          // every chooser shown
    std::vector<std::string> dialogsShown;
    // Each message's text as a person sees it: an error's system reason follows on its own line.
    std::vector<std::string> shown;

    void message(const std::string& text, const std::string& title, PromptIcon icon) override {
        messages.push_back({text, title, icon, false});
        shown.push_back(withSystemReason(text, icon));
    }
    bool ask(const std::string& text, const std::string& title) override {
        messages.push_back({text, title, PromptIcon::question, true});
        if (answers.empty()) return false;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> chooseFile(const FileChoice& choice) override {
        fileChoices.push_back(choice);
        if (files.empty()) return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    bool runDialog(CDialogModel& dialog) override {
        dialogsShown.push_back(dialog.id());
        while (!dialogSteps.empty()) {
            DialogStep step = dialogSteps.front();
            dialogSteps.pop_front();
            if (!step(dialog)) return false;
            if (dialog.onOk(*this)) return true;
        }
        return false;
    }
    void waitCursor(bool) override {}

    // Every progress shown: its label, whether it offered Cancel, and its last step. The user
    // presses Cancel once `stopAfterSteps` steps were reported (never when negative).
    struct Progress {
        std::string label;
        bool cancellable = false;
        long steps = 0;
        long lastDone = -1;
        long lastTotal = -1;
    };
    std::vector<Progress> progresses;
    long stopAfterSteps = -1;
    // Runs at every step of a progress, as the event loop would run inside the desktop's.
    std::function<void()> onProgressStep;
    std::unique_ptr<CProgress> progress(const std::string& label, bool cancellable) override {
        progresses.push_back({label, cancellable});
        struct Scripted : CProgress {
            ScriptedPrompt& owner;
            std::size_t index;
            Scripted(ScriptedPrompt& o, std::size_t i) : owner(o), index(i) {}
            bool step(long done, long total) override {
                Progress& p = owner.progresses[index];
                ++p.steps;
                p.lastDone = done;
                p.lastTotal = total;
                if (owner.onProgressStep) owner.onProgressStep();
                return owner.stopAfterSteps < 0 || p.steps <= owner.stopAfterSteps;
            }
        };
        return std::make_unique<Scripted>(*this, progresses.size() - 1);
    }

    // Scripting helpers.
    template <class Model> void fill(std::function<void(Model&)> set) {
        dialogSteps.push_back([set](CDialogModel& d) {
            set(dynamic_cast<Model&>(d));
            return true;
        });
    }
    void cancelDialog() {
        dialogSteps.push_back([](CDialogModel&) { return false; });
    }
};

inline void PrintTo(const RecordedMessage& m, std::ostream* os) {
    *os << "{\"" << m.text << "\", \"" << m.title << "\", icon " << static_cast<int>(m.icon)
        << (m.question ? ", Yes/No" : "") << "}";
}

inline RecordedMessage error(const std::string& text, const std::string& title) {
    return {text, title, PromptIcon::error, false};
}
inline RecordedMessage info(const std::string& text, const std::string& title) {
    return {text, title, PromptIcon::information, false};
}
inline RecordedMessage question(const std::string& text, const std::string& title) {
    return {text, title, PromptIcon::question, true};
}

} // namespace orv::test
