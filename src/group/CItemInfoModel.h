#pragma once
// The values of the item dialog ("Add %s to Group" / "Modify %s") and its check of OK.

#include "group/CItemList.h"
#include "group/CUserPrompt.h"

#include <string>

namespace orv {

class CItemInfoModel : public CDialogModel {
public:
    static constexpr const char* kId = "ItemInformation";
    static constexpr int kNameLimit = 20;
    static constexpr int kDefaultLengthLimit = 5;
    static constexpr int kDescriptionLimit = 256;

    // `items` is the list the name check of an added item looks in; `kindUpper` and `kindLower`
    // are the group's two forms of its kind word.
    CItemInfoModel(bool adding, const CItemList& items, std::string kindUpper, std::string kindLower)
        : m_adding(adding), m_items(items), m_kindUpper(std::move(kindUpper)), m_kindLower(std::move(kindLower)) {}

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt& prompt) override;

    bool adding() const { return m_adding; }
    std::string title() const;
    const std::string& kindLower() const { return m_kindLower; }

    // Fills the fields from an item (changing it).
    void fillFrom(const CRoom& item);

    // Minutes from the default length text, or -1 when it is not a valid length: "h:mm" with
    // hours up to 23 and minutes up to 59 (the last ':' counts), else plain minutes.
    static int parseDefaultLength(const std::string& text);
    // The refusal of a name the group has already, with its title "Error".
    static std::string nameTaken(const std::string& kindLower) {
        return "A " + kindLower + " with this name already exists";
    }

    // "%2d" below an hour, else "%2d:%02d" (90 minutes show as " 1:30").
    static std::string formatDefaultLength(int minutes);

    std::string name;
    std::string occupancy;
    std::string defaultLength;
    std::string description;

private:
    bool m_adding;
    const CItemList& m_items;
    std::string m_kindUpper;
    std::string m_kindLower;
};

} // namespace orv
