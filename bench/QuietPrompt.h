#pragma once
// A user who is never asked anything in a benchmark: messages go to standard error.

#include "group/CUserPrompt.h"

#include <cstdio>

namespace orv {

class QuietPrompt : public CUserPrompt {
public:
    void message(const std::string& text, const std::string& title, PromptIcon) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
    bool ask(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileChoice&) override { return std::nullopt; }
    bool runDialog(CDialogModel&) override { return false; }
    void waitCursor(bool) override {}
};

} // namespace orv
