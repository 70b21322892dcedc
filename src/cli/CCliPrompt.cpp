#include "cli/CCliPrompt.h"

#include "cli/CCliProgress.h"

#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {

void CCliPrompt::message(const std::string& text, const std::string& title, PromptIcon icon) {
    if (icon == PromptIcon::error) ++m_errors;
    if (m_reportOnStdout && icon == PromptIcon::information) {
        std::printf("%s\n", cp1252ToUtf8(text).c_str());
        return;
    }
    std::fprintf(stderr, "%s: %s\n", cp1252ToUtf8(title).c_str(),
                 cp1252ToUtf8(withSystemReason(text, icon)).c_str());
}

bool CCliPrompt::ask(const std::string& text, const std::string& title) {
    if (auto it = m_answers.find(text); it != m_answers.end()) return it->second;
    if (m_silentYes) return true;
    std::fprintf(stderr, "%s: %s %s\n", cp1252ToUtf8(title).c_str(), cp1252ToUtf8(text).c_str(),
                 m_yes ? "Yes (--yes)" : "No (give --yes to answer Yes)");
    return m_yes;
}

std::optional<std::string> CCliPrompt::chooseFile(const FileChoice&) {
    if (m_files.empty()) return std::nullopt;
    std::string f = m_files.front();
    m_files.pop_front();
    return f;
}

std::unique_ptr<CProgress> CCliPrompt::progress(const std::string& label, bool) {
    return std::make_unique<CCliProgress>(label);
}

bool CCliPrompt::runDialog(CDialogModel& dialog) {
    auto it = m_dialogs.find(dialog.id());
    if (it == m_dialogs.end()) return false;
    it->second(dialog);
    if (m_cancelled.count(dialog.id()) != 0) return false;
    return dialog.onOk(*this);
}

} // namespace orv::cli
