#pragma once
// The sample group that ./run shows: eight rooms of several kinds, people who may reserve,
// attendees, and reservations and blockouts from today on, some of them running at the moment
// the sample is made. Everything is written through the group document and the record layer, so
// the files are what the program itself would write.
//
// The reservations the sample writes carry the mark kMark in the schedule's EXTRA field; a later
// refresh() replaces the marked ones from today on and leaves everything else alone.

#include <string>

namespace orv {
class CORVSchedDoc;
}

namespace orv::cli {

class CCliPrompt;

class CSampleGroup {
public:
    static constexpr const char* kGroupFileName = "Rooms.sch";
    static constexpr const char* kMark = "SAMPLE";

    // `folder` is where the group's files go; it is created when missing.
    explicit CSampleGroup(std::string folder);

    std::string groupFile() const;

    // Creates the group, its items, people and reservations. False (with `error` set) when the
    // group file exists already or a step fails.
    bool create(std::string& error);
    // Writes the sample's reservations from today on again, relative to the current time.
    bool refresh(std::string& error);

    // How many of the reservations written by the last create() or refresh() cover this minute.
    int runningNow() const { return m_runningNow; }
    int written() const { return m_written; }

private:
    void addItems(CORVSchedDoc& doc, CCliPrompt& prompt);
    void addPeople(CORVSchedDoc& doc);
    void addReservations(CORVSchedDoc& doc);
    void removeMarked(CORVSchedDoc& doc);

    std::string m_folder;
    int m_runningNow = 0;
    int m_written = 0;
};

} // namespace orv::cli
