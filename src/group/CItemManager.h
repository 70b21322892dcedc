#pragma once
// Adding, changing and deleting the items of a group. The item list lives in the group file,
// which every user of the group rewrites, so each change goes through the document's
// rewriteGroupFile: the group-wide lock, the file read again, the change, the write. A lock or
// write that fails changes nothing, and the user is told.

#include <string>

namespace orv {

class CORVSchedDoc;

class CItemManager {
public:
    static constexpr const char* kGroupsLocked = "Groups cannot be updated, please see administrator";
    static constexpr const char* kGroupsLockedTitle = "Groups Locked";

    explicit CItemManager(CORVSchedDoc& doc) : m_doc(doc) {}

    // Items > Add Item. True when an item was added.
    bool addItem();
    // Right click > Modify on the item with this index. True when the change was written.
    bool modifyItem(int index);
    // Right click > Delete. True when the item was deleted.
    bool deleteItem(int index);

private:
    CORVSchedDoc& m_doc;
};

} // namespace orv
