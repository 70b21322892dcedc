#pragma once
// "Keep a calendar file of this group": a per-user choice, kept per group, of a folder where
// <group>.ics is kept current for calendar programs to subscribe to. The file holds the
// reservations from a month back to a year ahead and is rewritten (to a temporary file, then
// renamed) whenever the group's schedule or attendee tables changed since it was last written,
// by this program or by another user. Nothing of the group itself is written.

#include <string>
#include <sys/types.h>

namespace orv {

class CORVSchedDoc;

class CCalendarFeed {
public:
    static constexpr const char* kSection = "CalendarFile";
    // Per group: "floating" when the file is to have floating times instead of the user's zone.
    static constexpr const char* kTimesSection = "CalendarFileTimes";
    static constexpr int kDaysBack = 31;
    static constexpr int kDaysAhead = 366;

    explicit CCalendarFeed(CORVSchedDoc& doc);

    // The user's choice for this group, as stored.
    bool enabled() const { return !m_folder.empty(); }
    const std::string& folder() const { return m_folder; }
    // Stores the choice (an empty folder turns the file off) and reads it back.
    void setFolder(const std::string& folder);
    bool floating() const { return m_floating; }
    void setFloating(bool floating);
    // <folder>/<group file name without .sch>.ics
    std::string filePath() const;

    // Writes the file when the choice is on and the tables changed since the last write, or
    // always with `force`. False, with `error`, when it could not be written.
    bool refresh(bool force, std::string* error = nullptr);
    // Writes the calendar of the group into `path` now, whatever the choice.
    static bool write(CORVSchedDoc& doc, const std::string& path, std::string* error,
                      bool floating = false);

private:
    std::string settingKey() const;
    std::string signature() const;

    CORVSchedDoc& m_doc;
    std::string m_folder;
    bool m_floating = false;
    std::string m_written; // the tables' signature at the last write
};

} // namespace orv
