#include "people/CImportPeople.h"

#include "group/CORVSchedDoc.h"
#include "group/CWaitCursor.h"
#include "people/CImportPeopleModel.h"

namespace orv {

std::string CImportPeople::closingMessage(bool attendees, int selections, int duplicates) {
    if (duplicates > 0)
        return std::to_string(duplicates) + " duplicates were not imported out of " +
               std::to_string(selections) + " selections";
    return std::to_string(selections) + (attendees ? " attendees" : " people") +
           " have been imported into this group";
}

CImportPeople::Outcome CImportPeople::run() {
    CUserPrompt& prompt = m_doc.prompt();
    m_selections = m_duplicates = 0;
    FileChoice choice;
    choice.title = "Open";
    choice.defaultExtension = "sch";
    choice.filter = kChooserFilter;
    choice.mustExist = true;
    choice.folder = m_doc.groupFolder();
    const auto path = prompt.chooseFile(choice);
    if (!path) return Outcome::cancelled;
    if (*path == m_doc.groupFile()) {
        prompt.message(kSameGroup, "Error", PromptIcon::error);
        return Outcome::refused;
    }
    // Always the chosen group's own people table, even when that group borrows another's.
    CPeople& other = m_doc.otherPeople();
    if (other.open(*path, false) != 0) {
        // Also this group's own table under another spelling: the context refuses a second open.
        error4take(&m_doc.code());
        prompt.message(kNoPeople, "Error", PromptIcon::error);
        return Outcome::refused;
    }

    CImportPeopleModel dialog(m_attendees);
    {
        CWaitCursor busy(prompt);
        std::vector<CPeopleRecord> people;
        // What was read is listed.
        error4take(&m_doc.code(),
                   other.listPeople(
                       m_attendees ? CPeople::Kind::Attendee : CPeople::Kind::MayReserve, people));
        for (const CPeopleRecord& person : people)
            dialog.addLine({person.listLine(), person.recordNumber(), person.key()});
    }
    const bool confirmed = prompt.runDialog(dialog);
    if (confirmed) {
        CORVSchedDoc::Busy busy(m_doc);
        importSelected(dialog);
    }
    other.close();
    if (!confirmed) return Outcome::cancelled;
    if (m_selections > 0)
        prompt.message(closingMessage(m_attendees, m_selections, m_duplicates), kInfoTitle,
                       PromptIcon::information);
    return Outcome::imported;
}

void CImportPeople::importSelected(const CImportPeopleModel& dialog) {
    Code4& code = m_doc.code();
    CPeople& other = m_doc.otherPeople();
    CPeople& mine = m_doc.people();
    m_selections = static_cast<int>(dialog.selected.size());
    // What is imported stays imported; the count at the end says how many.
    const auto progress = m_doc.prompt().progress(kImporting, false);
    long done = 0;
    for (int index : dialog.selected) {
        progress->step(done++, m_selections);
        if (index < 0 || index >= static_cast<int>(dialog.lines().size())) continue;
        if (other.goTo(dialog.lines()[static_cast<std::size_t>(index)].record) != res4success) {
            // Neither imported nor counted; the next one is tried.
            error4take(&code);
            continue;
        }
        CPeopleRecord person = other.image();
        person.setOldLayout(mine.oldLayout());
        mine.image() = person;
        if (mine.append() != res4success) {
            ++m_duplicates;
            // A failure other than a taken key must not block the people after it.
            error4take(&code);
        }
    }
}

} // namespace orv
