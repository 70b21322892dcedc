#include "group/CItemInfoModel.h"

#include "tables/CFieldText.h"

#include <cstdio>

namespace orv {

int CItemInfoModel::parseDefaultLength(const std::string& text) {
    auto colon = text.rfind(':');
    if (colon == std::string::npos) return CFieldText::decimal(text);
    int minutes = CFieldText::decimal(std::string_view(text).substr(colon + 1));
    if (minutes > 59) return -1;
    int hours = colon == 0 ? 0 : CFieldText::decimal(std::string_view(text).substr(0, colon));
    if (hours > 23) return -1;
    return hours * 60 + minutes;
}

std::string CItemInfoModel::formatDefaultLength(int minutes) {
    char buf[32];
    if (minutes < 60)
        std::snprintf(buf, sizeof buf, "%2d", minutes);
    else
        std::snprintf(buf, sizeof buf, "%2d:%02d", minutes / 60, minutes % 60);
    return buf;
}

std::string CItemInfoModel::title() const {
    return m_adding ? "Add " + m_kindUpper + " to Group" : "Modify " + m_kindUpper;
}

void CItemInfoModel::fillFrom(const CRoom& item) {
    name = item.name();
    occupancy = item.occupancyText();
    defaultLength = formatDefaultLength(item.defaultLength());
    description = item.longDescription();
}

bool CItemInfoModel::onOk(CUserPrompt& prompt) {
    if (parseDefaultLength(defaultLength) == -1) {
        prompt.message("Invalid default reservation time", "Invalid Reservation Time", PromptIcon::error);
        return false;
    }
    if (m_adding && m_items.find(name) >= 0) {
        prompt.message(nameTaken(m_kindLower), "Error", PromptIcon::error);
        return false;
    }
    return true;
}

} // namespace orv
