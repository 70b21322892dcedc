#include "group/CItemManager.h"

#include "group/CItemInfoModel.h"
#include "group/CORVSchedDoc.h"
#include "tables/CFieldText.h"

namespace orv {

bool CItemManager::addItem() {
    CUserPrompt& prompt = m_doc.prompt();
    if (m_doc.settings().lock) {
        prompt.message(kGroupsLocked, kGroupsLockedTitle, PromptIcon::error);
        return false;
    }
    CItemInfoModel dialog(true, m_doc.items(), m_doc.kindUpper(), m_doc.kindLower());
    if (!prompt.runDialog(dialog)) return false;

    bool taken = false;
    const auto written = m_doc.rewriteGroupFile([&] {
        // The name is checked again on the list just read under the lock: another user may
        // have added the same name since the dialog looked.
        taken = m_doc.items().find(dialog.name) >= 0;
        if (taken) return false;
        CRoom item;
        item.setName(dialog.name);
        item.setLongDescription(dialog.description);
        item.setOccupancy(CFieldText::decimal(dialog.occupancy));
        item.setDefaultLength(CItemInfoModel::parseDefaultLength(dialog.defaultLength));
        m_doc.items().append(item);
        return true;
    });
    m_doc.notifyChanged();
    if (taken) prompt.message(CItemInfoModel::nameTaken(m_doc.kindLower()), "Error", PromptIcon::error);
    return written == CORVSchedDoc::GroupWrite::written;
}

bool CItemManager::modifyItem(int index) {
    if (!m_doc.items().isValidIndex(index)) return false;
    CUserPrompt& prompt = m_doc.prompt();
    const std::string name = m_doc.items().at(index).name();
    CItemInfoModel dialog(false, m_doc.items(), m_doc.kindUpper(), m_doc.kindLower());
    dialog.fillFrom(m_doc.items().at(index));
    if (!prompt.runDialog(dialog)) return false;

    bool gone = false;
    const auto written = m_doc.rewriteGroupFile([&] {
        const int k = m_doc.items().find(name);
        gone = k < 0;
        if (gone) return false;
        CRoom& item = m_doc.items().at(k);
        item.setLongDescription(dialog.description);
        item.setOccupancy(CFieldText::decimal(dialog.occupancy));
        item.setDefaultLength(CItemInfoModel::parseDefaultLength(dialog.defaultLength));
        return true;
    });
    m_doc.notifyChanged();
    if (gone) {
        prompt.message(m_doc.kindUpper() + " has been deleted by another user, update cannot be made", "Modify Error",
                       PromptIcon::error);
        return false;
    }
    return written == CORVSchedDoc::GroupWrite::written;
}

bool CItemManager::deleteItem(int index) {
    if (!m_doc.items().isValidIndex(index)) return false;
    CUserPrompt& prompt = m_doc.prompt();
    const std::string name = m_doc.items().at(index).name();
    if (!prompt.ask("Are you sure you want to delete " + m_doc.kindLower() + " " + name + "?", "Confirm Delete"))
        return false;

    const auto written = m_doc.rewriteGroupFile([&] {
        const int k = m_doc.items().find(name);
        if (k < 0) return false;
        m_doc.items().removeAt(k);
        return true;
    });
    // Today's list refers to items by index: reload it for the list as it is now.
    m_doc.loadTodaysList(m_doc.dateKey());
    m_doc.notifyChanged();
    // The reservations go only with an item that is gone from the file.
    if (written != CORVSchedDoc::GroupWrite::written) return false;
    m_doc.schedule().deleteItemRecords(name);
    return true;
}

} // namespace orv
