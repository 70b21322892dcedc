#include "group/CUserPrompt.h"

#include "storage/Code4.h"
#include "tables/Cp1252.h"

namespace orv {

std::string withSystemReason(const std::string& text, PromptIcon icon) {
    if (icon != PromptIcon::error) return text;
    // The system's words follow the user's language: stored text is Windows-1252.
    const std::string reason = error4reason();
    return reason.empty() ? text : text + "\nReason: " + utf8ToCp1252(reason);
}

} // namespace orv
