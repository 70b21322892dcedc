#include "people/CPersonDeleteModel.h"

#include "group/CWaitCursor.h"
#include "people/CPersonListModel.h"

#include <algorithm>

namespace orv {

CPersonDeleteModel::CPersonDeleteModel(CPeople& people, CUserPrompt& prompt, CPeople::Kind kind)
    : m_people(people), m_kind(kind) {
    CWaitCursor wait(prompt);
    m_lines = CPersonListModel::linesOf(people, kind);
}

bool CPersonDeleteModel::onOk(CUserPrompt& prompt) {
    std::vector<int> lines = selected;
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    lines.erase(
        std::remove_if(lines.begin(), lines.end(),
                       [this](int i) { return i < 0 || i >= static_cast<int>(m_lines.size()); }),
        lines.end());
    m_deleted = 0;
    const std::string question =
        lines.size() < 2
            ? std::string("Are you sure you want to delete the selected person?")
            : "Are you sure you want to delete these " + std::to_string(lines.size()) + " people?";
    if (lines.empty() || !prompt.ask(question, "Confirm Delete")) {
        prompt.message(kNoneDeleted, kNoneDeletedTitle, PromptIcon::information);
        return true;
    }
    for (int line : lines) {
        // Someone another user deleted first is passed over.
        if (m_people.goTo(m_lines[static_cast<std::size_t>(line)].recordNumber) != res4success ||
            m_people.relockCurrent() != res4success) {
            error4take(&m_people.code());
            continue;
        }
        if (m_people.deleteCurrent() == 0) ++m_deleted;
    }
    error4take(&m_people.code());
    return true;
}

} // namespace orv
