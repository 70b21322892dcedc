#include "history/CHistoryCommands.h"

#include "group/CORVSchedDoc.h"
#include "history/CHistoryModel.h"
#include "history/CJournalUndo.h"

namespace orv {

void CHistoryCommands::run(Step step) {
    if (step == Step::history) {
        CHistoryModel history(m_doc);
        m_doc.prompt().runDialog(history);
        return;
    }
    CJournalUndo journal(m_doc);
    const bool done = step == Step::undo ? journal.undo() : journal.redo();
    if (done) m_doc.notifyChanged();
}

} // namespace orv
