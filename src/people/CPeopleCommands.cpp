#include "people/CPeopleCommands.h"

#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "people/CPersonDeleteModel.h"
#include "people/CPersonListModel.h"
#include "people/CPersonModel.h"

namespace orv {

void CPeopleCommands::add(CPeople::Kind kind) {
    CJournalChange journal(m_doc);
    CPersonModel person(m_doc.people(), CPersonModel::Mode::Add, kind == CPeople::Kind::MayReserve,
                        kind == CPeople::Kind::Attendee);
    m_doc.prompt().runDialog(person);
}

void CPeopleCommands::modify(CPeople::Kind kind) {
    CJournalChange journal(m_doc);
    CPersonListModel list(m_doc.people(), m_doc.prompt(), kind, CPersonListModel::Use::Modify);
    m_doc.prompt().runDialog(list);
}

void CPeopleCommands::remove(CPeople::Kind kind) {
    CJournalChange journal(m_doc);
    CPersonDeleteModel dialog(m_doc.people(), m_doc.prompt(), kind);
    m_doc.prompt().runDialog(dialog);
}

void CPeopleCommands::list(CPeople::Kind kind) {
    CPersonListModel list(m_doc.people(), m_doc.prompt(), kind, CPersonListModel::Use::Browse);
    m_doc.prompt().runDialog(list);
}

} // namespace orv
