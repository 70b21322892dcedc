#include "cli/CSampleGroup.h"

#include "cli/CCliPrompt.h"
#include "group/CGroupInfoModel.h"
#include "group/CItemInfoModel.h"
#include "group/CItemManager.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

namespace orv::cli {
namespace {

struct SampleItem {
    const char* name;
    const char* occupancy;
    const char* length;
    const char* description;
};

// Meeting rooms, small huddle rooms, a training room, a hall and two special rooms; the library
// has no occupancy, so its box shows no occupancy line.
constexpr SampleItem kItems[] = {
    {"Boardroom", "16", "60", "Oval table for 16, projector, video conference"},
    {"Lakeview", "8", "30", "Window onto the lake, whiteboard"},
    {"Training Room", "24", "2:00", "24 desks with computers, projector, flip chart"},
    {"Huddle 1", "4", "30", "Small room with a wall screen"},
    {"Huddle 2", "4", "30", "Small room with a whiteboard"},
    {"Auditorium", "120", "1:30", "Stage, sound system, recording equipment"},
    {"Library", "", "45", "Quiet room, reference shelves"},
    {"Studio", "6", "1:30", "Camera, lights and a green screen"},
};

struct SamplePerson {
    const char* first;
    const char* middle;
    const char* last;
    const char* department;
    const char* location;
    const char* phone;
    int flags; // 2 may reserve, 1 attendee
};

constexpr SamplePerson kPeople[] = {
    {"Alice", "M", "Morgan", "Sales", "Building A, 2nd floor", "555-0101", 2},
    {"Ben", "", "Okafor", "Finance", "Building A, 3rd floor", "555-0102", 2},
    {"Carmen", "", "Rivera", "Marketing", "Building B, 1st floor", "555-0103", 3},
    {"Daniel", "J", "Chen", "IT", "Building B, basement", "555-0104", 2},
    {"Eva", "", "Novak", "HR", "Building A, 1st floor", "555-0105", 2},
    {"Farah", "", "Haddad", "Operations", "Warehouse office", "555-0106", 1},
    {"Grace", "L", "Lind", "Sales", "Building A, 2nd floor", "555-0107", 1},
    {"Hugo", "", "Brandt", "IT", "Building B, basement", "555-0108", 1},
    {"Ines", "", "Kowalski", "Finance", "Building A, 3rd floor", "555-0109", 3},
};

constexpr int kBlockout = -1;
constexpr int kLastMinute = 23 * 60 + 59;

struct SampleReservation {
    int dayOffset; // 0 today, 1 tomorrow...
    bool fromNow;  // start is minutes from now (today only), else minutes after midnight
    const char* item;
    int start;  // minutes
    int length; // minutes
    int person; // index in kPeople, or kBlockout
    const char* note;
    bool showNote;
    std::vector<int> attendees;
};

// Today's are placed around the moment the sample is written, so that some run right now.
const std::vector<SampleReservation>& plan() {
    static const std::vector<SampleReservation> reservations = {
        {0, true, "Boardroom", -30, 120, 0, "Quarterly sales review", false, {}},
        {0, true, "Training Room", -60, 120, 2, "Spreadsheet course", true, {5, 6, 7, 8}},
        {0, true, "Huddle 1", -15, 30, 3, "", false, {}},
        {0, true, "Huddle 1", 15, 30, 4, "", false, {}},
        {0, true, "Studio", -180, 90, 2, "Product video", false, {}},
        {0, true, "Lakeview", 60, 60, 1, "Budget talk", false, {}},
        {0, true, "Library", 30, 120, kBlockout, "", false, {}},
        {0, true, "Auditorium", 180, 120, 4, "Town hall", true, {}},
        {1, false, "Boardroom", 9 * 60, 90, 0, "Customer visit", false, {}},
        {1, false, "Lakeview", 13 * 60, 60, 1, "", false, {}},
        {1, false, "Auditorium", 0, kLastMinute, kBlockout, "", false, {}},
        {2, false, "Training Room", 8 * 60 + 30, 8 * 60, 4, "New staff orientation", true, {5, 7}},
        {2, false, "Huddle 2", 10 * 60, 30, 3, "", false, {}},
        {3, false, "Studio", 14 * 60, 90, 2, "Podcast recording", false, {}},
    };
    return reservations;
}

std::tm dayAfter(const std::tm& today, int days) {
    std::tm d = today;
    d.tm_mday += days;
    d.tm_hour = 12; // away from a change of daylight saving time
    d.tm_min = 0;
    d.tm_sec = 0;
    d.tm_isdst = -1;
    std::mktime(&d);
    return d;
}

std::string dateKeyOf(const std::tm& d) {
    return CFieldText::dateKey(d.tm_year + 1900, d.tm_mon + 1, d.tm_mday);
}

CPeopleKey keyOf(const SamplePerson& p) {
    return CPeopleKey(p.first, p.middle, p.last, p.department);
}

std::unique_ptr<CORVSchedDoc> openDocument(CCliPrompt& prompt, CMemorySettings& settings) {
    auto doc = std::make_unique<CORVSchedDoc>(prompt, settings);
    doc->code().silentErrors = 1;
    return doc;
}

} // namespace

CSampleGroup::CSampleGroup(std::string folder) : m_folder(std::move(folder)) {
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

std::string CSampleGroup::groupFile() const {
    return m_folder + "/" + kGroupFileName;
}

bool CSampleGroup::create(std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec) {
        error = "cannot make the folder " + m_folder + ": " + ec.message();
        return false;
    }
    if (std::filesystem::exists(groupFile())) {
        error = groupFile() + " exists already";
        return false;
    }
    CCliPrompt prompt;
    prompt.setDialog(CGroupInfoModel::kNewId, [](CDialogModel& d) {
        auto& m = static_cast<CGroupInfoModel&>(d);
        m.kindWord = "Room";
        m.description = "Sample Rooms";
        m.useOtherPeople = false;
    });
    prompt.queueFile(groupFile());
    CMemorySettings settings;
    auto doc = openDocument(prompt, settings);
    if (!doc->createGroup()) {
        error = "the group could not be created in " + m_folder;
        return false;
    }
    addItems(*doc, prompt);
    if (doc->items().count() != static_cast<int>(std::size(kItems))) {
        error = "not every sample room could be added";
        return false;
    }
    addPeople(*doc);
    addReservations(*doc);
    // Room for three boxes across and three rows, so the first window shows every room.
    doc->setWindowRect(CRect{0, 0, 660, 430});
    doc->saveGroupFile();
    doc->markUpdate();
    return true;
}

bool CSampleGroup::refresh(std::string& error) {
    CCliPrompt prompt;
    CMemorySettings settings;
    auto doc = openDocument(prompt, settings);
    if (!doc->openGroup(groupFile())) {
        error = "cannot open " + groupFile();
        return false;
    }
    removeMarked(*doc);
    addReservations(*doc);
    doc->markUpdate();
    return true;
}

void CSampleGroup::addItems(CORVSchedDoc& doc, CCliPrompt& prompt) {
    for (const SampleItem& item : kItems) {
        prompt.setDialog(CItemInfoModel::kId, [&item](CDialogModel& d) {
            auto& m = static_cast<CItemInfoModel&>(d);
            m.name = item.name;
            m.occupancy = item.occupancy;
            m.defaultLength = item.length;
            m.description = item.description;
        });
        CItemManager(doc).addItem();
    }
}

void CSampleGroup::addPeople(CORVSchedDoc& doc) {
    const std::tm today = CClock::current().localNow();
    CPeople& people = doc.people();
    for (const SamplePerson& p : kPeople) {
        people.clearImage();
        CPeopleRecord& r = people.image();
        r.setName(p.first, p.middle, p.last);
        r.setDepartment(p.department);
        r.setLocation(p.location);
        r.setPhone(p.phone);
        r.setFlags(p.flags);
        if (p.flags & CPeopleRecord::kFlagMayReserve)
            r.setLastUsed(today.tm_mon + 1, today.tm_mday, today.tm_year + 1900);
        people.append();
    }
}

void CSampleGroup::removeMarked(CORVSchedDoc& doc) {
    const std::string today = dateKeyOf(CClock::current().localNow());
    CSchedule& schedule = doc.schedule();
    std::vector<CScheduleRecord> removed;
    int rc = schedule.first();
    while (rc == 0) {
        if (schedule.image().extra() == kMark && !schedule.image().isBefore(today)) {
            removed.push_back(schedule.image());
            schedule.deleteCurrent();
        }
        rc = schedule.next();
    }
    schedule.unlock();
    if (!doc.attendeeAvailable()) return;
    CRosterLink& links = doc.rosterLinks();
    for (const CScheduleRecord& r : removed) {
        if (!r.hasAttendees()) continue;
        rc = links.seek(r.dateKey(), r.itemName(), r.startHour(), r.startMinute());
        while (rc == 0 && links.belongsTo(r.month(), r.day(), r.year(), r.startHour(),
                                          r.startMinute(), r.itemName())) {
            links.deleteCurrent();
            rc = links.next();
        }
    }
    links.unlock();
}

void CSampleGroup::addReservations(CORVSchedDoc& doc) {
    m_written = 0;
    m_runningNow = 0;
    const std::time_t now = CClock::current().now();
    const std::tm made = CClock::local(now);
    const int nowMinute = made.tm_hour * 60 + made.tm_min;
    CSchedule& schedule = doc.schedule();

    for (const SampleReservation& plan : plan()) {
        if (doc.findItem(plan.item) < 0) continue; // a room the user deleted
        int start = plan.fromNow ? nowMinute + plan.start : plan.start;
        int end = start + plan.length;
        start = std::max(start, 0);
        end = std::min(end, kLastMinute);
        if (end <= start) continue; // today is too far gone (or too young) for it
        const std::tm day = dayAfter(made, plan.dayOffset);
        const std::string key = dateKeyOf(day);

        // Reservations made by hand since the sample was written win over the sample's own.
        std::vector<CScheduleRecord> existing;
        schedule.recordsOfItemOnDate(key, plan.item, existing);
        const bool overlaps =
            std::any_of(existing.begin(), existing.end(), [&](const CScheduleRecord& r) {
                const int s = r.startHour() * 60 + r.startMinute();
                const int e = r.endHour() * 60 + r.endMinute();
                return s < end && start < e;
            });
        if (overlaps) continue;

        const bool links = !plan.attendees.empty() && doc.attendeeAvailable();
        schedule.clearImage();
        CScheduleRecord& r = schedule.image();
        r.setDate(day.tm_mon + 1, day.tm_mday, day.tm_year + 1900);
        r.setItemName(plan.item);
        r.setStartTime(start / 60, start % 60);
        r.setEndTime(end / 60, end % 60);
        if (plan.person == kBlockout) {
            r.setPerson("Blocked", "", "Out", "");
            r.setNote("Blocked Out");
            r.setFlags(CScheduleRecord::kFlagBlockout | CScheduleRecord::kFlagShowNote);
        } else {
            r.setPerson(keyOf(kPeople[plan.person]));
            r.setNote(plan.note);
            r.setShowNoteFlag(plan.showNote);
            r.setAttendeesFlag(links);
        }
        r.setMade(made.tm_mon + 1, made.tm_mday, made.tm_year + 1900, made.tm_hour, made.tm_min,
                  made.tm_sec);
        r.setRecurrenceCode(0);
        r.setRecurrenceEnd(0, 0, 0);
        r.setExtra(kMark);
        const int appended = schedule.append();
        error4take(&doc.code());
        if (appended != 0) continue;
        ++m_written;
        if (plan.dayOffset == 0 && start <= nowMinute && nowMinute < end) ++m_runningNow;
        if (!links) continue;
        CRosterLink& roster = doc.rosterLinks();
        for (int who : plan.attendees) {
            roster.clearImage();
            roster.setDate(day.tm_mon + 1, day.tm_mday, day.tm_year + 1900);
            roster.setItemName(plan.item);
            roster.setStartTime(start / 60, start % 60);
            roster.setPerson(keyOf(kPeople[who]));
            error4take(&doc.code(), roster.append());
        }
    }
}

} // namespace orv::cli
