#include "group/CCompressDatabases.h"

#include "group/CORVSchedDoc.h"
#include "group/CWaitCursor.h"
#include "tables/CTableOps.h"

namespace orv {

std::string CCompressDatabases::packFailed(const char* table, int code) {
    std::string why;
    if (code < 0)
        why = error4text(code);
    else if (code == res4locked)
        why = "the table could not be locked";
    else
        why = "result " + std::to_string(code);
    return std::string("The ") + table + " database could not be compressed (" + why +
           "), compression stopped.";
}

std::string CCompressDatabases::notReopened(const char* table) {
    return std::string("The ") + table +
           " database could not be opened again after compressing. Close the group and open it "
           "again.";
}

template <class Table>
bool CCompressDatabases::compressTable(Table& table, const char* name, const char* inUseText) {
    CUserPrompt& prompt = m_doc.prompt();
    int rc = 0;
    if (m_progress) m_progress->step(m_tablesDone++, m_tablesTotal);
    {
        CWaitCursor busy(prompt);
        rc = table.compress();
    }
    const bool reopened = table.isOpen();
    if (rc == 0) ++m_tablesPacked;
    if (!reopened) error4take(&m_doc.code());
    if (rc == CTableOps::kInUse) {
        prompt.message(inUseText, kErrorTitle, PromptIcon::error);
        m_outcome = Outcome::inUse;
    } else if (rc != 0) {
        prompt.message(packFailed(name, rc), kErrorTitle, PromptIcon::error);
        m_outcome = Outcome::failed;
    }
    if (!reopened) {
        // The group would go on with a closed table: every read and write of it would fail.
        prompt.message(notReopened(name), kErrorTitle, PromptIcon::error);
        m_outcome = Outcome::failed;
    }
    return rc == 0 && reopened;
}

CCompressDatabases::Outcome CCompressDatabases::run() {
    CUserPrompt& prompt = m_doc.prompt();
    if (!prompt.ask(kQuestion, kQuestionTitle)) return Outcome::declined;
    CORVSchedDoc::Busy busy(m_doc);
    m_outcome = Outcome::compressed;
    m_tablesPacked = 0;
    // The engine packs a table in one step: the progress counts tables.
    m_progress = prompt.progress(kCompressing, false);
    m_tablesTotal = 1 + (m_doc.attendeeAvailable() ? 1 : 0) +
                    (m_doc.storedPeopleName().empty() ? 1 : 0) +
                    (m_doc.seriesRules().isOpen() ? 1 : 0);
    bool ok = compressTable(m_doc.schedule(), "Schedule", kScheduleInUse);
    if (ok && m_doc.attendeeAvailable())
        ok = compressTable(m_doc.rosterLinks(), "Roster", kRosterInUse);
    if (ok && m_doc.seriesRules().isOpen())
        ok = compressTable(m_doc.seriesRules(), "Series", kSeriesInUse);
    // Another group's people table is that group's to compress.
    if (ok && m_doc.storedPeopleName().empty())
        ok = compressTable(m_doc.people(), "People", kPeopleInUse);
    // The history is this program's own: kept as long as the preference says, packed when no
    // other user has it open, and never a reason to call the compress failed.
    if (ok)
        m_doc.journal().trim(
            m_doc.settingsStore().readInt("History", "KeepDays", CJournal::kDefaultKeepDays));
    m_progress.reset();
    if (ok) prompt.message(kSuccess, kSuccessTitle, PromptIcon::information);
    return m_outcome;
}

} // namespace orv
