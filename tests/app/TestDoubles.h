#pragma once
// Stand-ins for the user and the settings store: a prompt that records every message and answers
// from queues, and a store that records every write in order.

#include "group/CMemorySettings.h"
#include "group/CUserPrompt.h"
#include "ui/CColorChooser.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace orv::test {

struct ShownMessage {
    std::string text;
    std::string title;
    PromptIcon icon;
};

class CScriptedPrompt : public CUserPrompt, public CColorChooser {
public:
    void message(const std::string& text, const std::string& title, PromptIcon icon) override {
        messages.push_back({text, title, icon});
    }
    bool ask(const std::string& text, const std::string& title) override {
        messages.push_back({text, title, PromptIcon::question});
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> chooseFile(const FileChoice& choice) override {
        choices.push_back(choice);
        if (files.empty()) return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    bool runDialog(CDialogModel& dialog) override {
        dialogs.push_back(dialog.id());
        return false;
    }
    void waitCursor(bool on) override { waitCursorCalls.push_back(on); }
    std::optional<int> chooseColor(int initial) override {
        colorPresets.push_back(initial);
        if (colors.empty()) return std::nullopt;
        auto c = colors.front();
        colors.pop_front();
        return c;
    }

    std::vector<ShownMessage> messages;
    std::deque<bool> answers;
    std::vector<FileChoice> choices;
    std::deque<std::optional<std::string>> files;
    std::vector<std::string> dialogs;
    std::vector<bool> waitCursorCalls;
    std::vector<int> colorPresets;
    std::deque<std::optional<int>> colors;
};

struct StoreWrite {
    std::string section;
    std::string key;
    std::optional<std::string> value; // nothing: removed
    bool operator==(const StoreWrite&) const = default;
};

class CRecordingSettings : public CMemorySettings {
public:
    void writeInt(const std::string& section, const std::string& key, int value) override {
        writes.push_back({section, key, std::to_string(value)});
        CMemorySettings::writeInt(section, key, value);
    }
    void writeText(const std::string& section, const std::string& key,
                   const std::optional<std::string>& value) override {
        writes.push_back({section, key, value});
        CMemorySettings::writeText(section, key, value);
    }
    std::vector<StoreWrite> writes;
};

} // namespace orv::test
