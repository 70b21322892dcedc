#pragma once
// People > Import... and Attendees > Import...: copies chosen people from another group's own
// people table into the open group's people table. The kind of the command only decides who is
// listed; an imported person keeps the marks and last-used date he or she has there.

#include <string>

namespace orv {

class CORVSchedDoc;
class CImportPeopleModel;

class CImportPeople {
public:
    static constexpr const char* kChooserFilter =
        "Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||";
    static constexpr const char* kSameGroup = "You cannot import from the current group";
    static constexpr const char* kNoPeople =
        "Could not find people information in the selected group";
    static constexpr const char* kInfoTitle = "Import Information";
    static constexpr const char* kImporting = "Importing";

    enum class Outcome {
        cancelled, // no file chosen, or the dialog cancelled
        refused,   // the same group, or no people table there: the user was told
        imported,  // confirmed; see selections() and duplicates()
    };

    CImportPeople(CORVSchedDoc& doc, bool attendees) : m_doc(doc), m_attendees(attendees) {}

    Outcome run();

    // Lines selected at OK, and how many of them were not appended.
    int selections() const { return m_selections; }
    int duplicates() const { return m_duplicates; }

    // The closing message for a confirmed import with at least one selection.
    static std::string closingMessage(bool attendees, int selections, int duplicates);

private:
    void importSelected(const CImportPeopleModel& dialog);

    CORVSchedDoc& m_doc;
    bool m_attendees;
    int m_selections = 0;
    int m_duplicates = 0;
};

} // namespace orv
