#pragma once
// The People and Attendees menus: add, change, delete and list the people of one kind.

#include "tables/CPeople.h"

namespace orv {

class CORVSchedDoc;

class CPeopleCommands {
public:
    explicit CPeopleCommands(CORVSchedDoc& doc) : m_doc(doc) {}

    // "&Add...": the person dialog with "Add and New".
    void add(CPeople::Kind kind);
    // "&Modify...": pick from the list, then the person dialog.
    void modify(CPeople::Kind kind);
    // "&Delete...".
    void remove(CPeople::Kind kind);
    // "&List": browse, each pick shown read-only.
    void list(CPeople::Kind kind);

private:
    CORVSchedDoc& m_doc;
};

} // namespace orv
