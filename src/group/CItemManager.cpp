#include "group/CItemManager.h"

#include "group/CItemInfoModel.h"
#include "group/CORVSchedDoc.h"
#include "tables/CFieldText.h"

namespace orv {

bool CItemManager::lockGroup() {
    // Waits while another user changes the items of a group sharing this people table.
    return m_doc.people().lockAll() == 0;
}

void CItemManager::unlockGroup() { m_doc.people().unlock(); }

bool CItemManager::addItem() {
    CUserPrompt& prompt = m_doc.prompt();
    if (m_doc.settings().lock) {
        prompt.message(kGroupsLocked, kGroupsLockedTitle, PromptIcon::error);
        return false;
    }
    CItemInfoModel dialog(true, m_doc.items(), m_doc.kindUpper(), m_doc.kindLower());
    if (!prompt.runDialog(dialog)) return false;

    lockGroup();
    m_doc.rereadGroupFile();
    // The name is checked again on the list just read under the lock: another user may have
    // added the same name since the dialog looked.
    if (m_doc.items().find(dialog.name) >= 0) {
        unlockGroup();
        prompt.message(CItemInfoModel::nameTaken(m_doc.kindLower()), "Error", PromptIcon::error);
        m_doc.notifyChanged();
        return false;
    }
    CRoom item;
    item.setName(dialog.name);
    item.setLongDescription(dialog.description);
    item.setOccupancy(CFieldText::decimal(dialog.occupancy));
    item.setDefaultLength(CItemInfoModel::parseDefaultLength(dialog.defaultLength));
    m_doc.items().append(item);
    m_doc.saveGroupFile();
    unlockGroup();
    m_doc.notifyChanged();
    return true;
}

bool CItemManager::modifyItem(int index) {
    if (!m_doc.items().isValidIndex(index)) return false;
    CUserPrompt& prompt = m_doc.prompt();
    const std::string name = m_doc.items().at(index).name();
    CItemInfoModel dialog(false, m_doc.items(), m_doc.kindUpper(), m_doc.kindLower());
    dialog.fillFrom(m_doc.items().at(index));
    if (!prompt.runDialog(dialog)) return false;

    lockGroup();
    m_doc.rereadGroupFile();
    int k = m_doc.items().find(name);
    if (k >= 0) {
        CRoom& item = m_doc.items().at(k);
        item.setLongDescription(dialog.description);
        item.setOccupancy(CFieldText::decimal(dialog.occupancy));
        item.setDefaultLength(CItemInfoModel::parseDefaultLength(dialog.defaultLength));
        m_doc.saveGroupFile();
    }
    unlockGroup();
    m_doc.notifyChanged();
    if (k < 0) {
        prompt.message(m_doc.kindUpper() + " has been deleted by another user, update cannot be made", "Modify Error",
                       PromptIcon::error);
        return false;
    }
    return true;
}

bool CItemManager::deleteItem(int index) {
    if (!m_doc.items().isValidIndex(index)) return false;
    CUserPrompt& prompt = m_doc.prompt();
    const std::string name = m_doc.items().at(index).name();
    if (!prompt.ask("Are you sure you want to delete " + m_doc.kindLower() + " " + name + "?", "Confirm Delete"))
        return false;

    lockGroup();
    m_doc.rereadGroupFile();
    int k = m_doc.items().find(name);
    if (k >= 0) {
        m_doc.items().removeAt(k);
        // Today's list refers to items by index: reload it for the shortened list.
        m_doc.loadTodaysList(m_doc.dateKey());
        m_doc.saveGroupFile();
    }
    unlockGroup();
    m_doc.notifyChanged();
    if (k < 0) return false;
    m_doc.schedule().deleteItemRecords(name);
    return true;
}

} // namespace orv
