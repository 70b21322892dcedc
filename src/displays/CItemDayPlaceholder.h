#pragma once
// What a left click on an item opens until the item's day list exists: a note naming the item and
// the date whose reservations the day list will show. Shown through the prompt like every dialog,
// so that the click can be followed without a display.

#include "group/CUserPrompt.h"

#include <string>

namespace orv {

class CItemDayPlaceholder : public CDialogModel {
public:
    static constexpr const char* kId = "ItemDayPlaceholder";

    // `itemName` is stored text; `dateText` is the date shown ("MM/DD/YYYY").
    CItemDayPlaceholder(std::string itemName, std::string dateText)
        : m_itemName(std::move(itemName)), m_dateText(std::move(dateText)) {}

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    const std::string& itemName() const { return m_itemName; }
    const std::string& dateText() const { return m_dateText; }
    std::string text() const {
        return "The reservations of " + m_itemName + " for " + m_dateText +
               " will be listed here: the day list comes next.";
    }

private:
    std::string m_itemName;
    std::string m_dateText;
};

} // namespace orv
