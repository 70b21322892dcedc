#include "app/Command.h"

#include "ui/HelpTopics.h"

#include <array>

namespace orv {
namespace {

using enum Command;
constexpr CommandRoute kApp = CommandRoute::application;
constexpr CommandRoute kFrame = CommandRoute::frame;
constexpr CommandRoute kGroup = CommandRoute::group;

// "New Group" shows Ctrl+N in its menu text but has no accelerator of its own.
constexpr std::array<CommandInfo, static_cast<int>(Command::count)> kCommands{{
    {newGroup, "&New Group\tCtrl+N", "", "Create a new group", "New Group", kApp, help::kNewGroup},
    {openGroup, "&Open Group...", "Ctrl+O", "Open an existing group", "Open Group", kApp,
     help::kOpenGroup},
    {closeGroup, "&Close Group", "", "Close the active group", "Close", kFrame, help::kCloseGroup},
    {mergeGroups, "&Merge Groups...", "", "Merge another group into the current group", "", kGroup,
     help::kMergeGroups},
    {compressDatabases, "Compre&ss Databases...", "",
     "Removes unused space from group databases. Requires exclusive use of group databases.", "",
     kGroup, help::kCompressDatabases},
    {print, "&Print...", "Ctrl+P", "Print the active document", "Print", kGroup, help::kPrint},
    {printPreview, "Print Pre&view", "", "Display full pages", "Print Preview", kGroup,
     help::kPrint},
    {printSetup, "P&rint Setup...", "", "Change the printer and printing options", "Print Setup",
     kApp, help::kPrint},
    {exit, "E&xit", "", "Quit the application; prompts to save documents", "Exit", kApp,
     help::kMainWindow},
    {specifyBlockout, "Specify &Blockout Date...", "", "Block out time slots in a group", "",
     kGroup, help::kBlockouts},
    {removeBlockout, "&Remove Blockout Date...", "", "Remove blockouts from a group", "", kGroup,
     help::kBlockouts},
    {deleteOldReservations, "Delete &Old Reservations...", "", "Delete old reservations", "Delete",
     kGroup, help::kDeleteOldReservations},
    {modifyGroupInfo, "Modify &Group Information...", "", "Change the description of a group",
     "Modify", kGroup, help::kModifyGroup},
    {addItem, "Add I&tem...", "", "Add a new item to the group", "Add Item", kGroup, help::kItems},
    {modifyDeleteItem, "&Modify/Delete Item", "", "To modify or delete..right click on item",
     "Modify..Delete", kGroup, help::kItems},
    {itemDelete, "Delete", "", "Delete an object from the group", "", kGroup, help::kItems},
    {itemModify, "Modify", "", "Modify an object's occupancy or description", "", kGroup,
     help::kItems},
    {peopleAdd, "&Add...", "", "Add a new person to database", "Add Person", kGroup, help::kPeople},
    {peopleModify, "&Modify...", "", "Modify information about a person", "Change Info", kGroup,
     help::kPeople},
    {peopleDelete, "&Delete...", "", "Delete a person from the database", "Delete Person", kGroup,
     help::kPeople},
    {peopleList, "&List", "", "List people in people database", "List Database", kGroup,
     help::kPeople},
    {peopleImport, "&Import...", "", "Import people from another group", "Import People", kGroup,
     help::kImportPeople},
    {attendeesAdd, "&Add...", "", "", "", kGroup, help::kAttendees},
    {attendeesModify, "&Modify...", "",
     "Change information about a person in the attendees database", "Change Info", kGroup,
     help::kAttendees},
    {attendeesDelete, "&Delete...", "", "Delete a person from the attendees database",
     "Delete Attendee", kGroup, help::kAttendees},
    {attendeesList, "&List", "", "List the attendees database", "List Database", kGroup,
     help::kAttendees},
    {attendeesImport, "&Import...", "", "Import attendees from another group", "", kGroup,
     help::kImportPeople},
    {daysReservations, "A Day's Reservations...", "", "Show a day's reservations",
     "Day at a Glance", kGroup, help::kDayAtAGlance},
    {monthsReservations, "A &Month's Reservations...", "",
     "View a month's reservations for an item.", "", kGroup, help::kMonthAtAGlance},
    {personsReservations, "A &Person's Reservations...", "",
     "Show all future reservations for a person", "Show People", kGroup, help::kPersonReservations},
    {allReservations, "All &Reservations...", "",
     "Show some or all reservations for the current group", "Show Reservations", kGroup,
     help::kReservationReport},
    {utilization, "&Utilization...", "", "Calculate the utilization of some or all items",
     "Item Utilization", kGroup, help::kUtilization},
    {attendance, "&Attendance...", "", "Show reservations attended by an attendee", "", kGroup,
     help::kAttendance},
    {toolbar, "&Toolbar", "", "Show or hide the toolbar", "Toggle ToolBar", kFrame,
     help::kMainWindow},
    {statusBar, "&Status Bar", "", "Show or hide the status bar", "Toggle StatusBar", kFrame,
     help::kMainWindow},
    {preferences, "P&references...", "", "View preferences", "Group Preferences", kGroup,
     help::kPreferences},
    {newWindow, "&New Window", "", "Open another window for the active document", "New Window",
     kGroup, help::kGroupWindow},
    {cascade, "&Cascade", "", "Arrange windows so they overlap", "Cascade Windows", kFrame,
     help::kGroupWindow},
    {tile, "&Tile", "", "Arrange windows as non-overlapping tiles", "Tile Windows", kFrame,
     help::kGroupWindow},
    {helpTopics, "&Help Topics", "", "List Help topics", "Help Topics", kFrame, help::kContents},
    {displayPeopleFileOwner, "&Display People File Owner", "",
     "Displays the group name that owns the people file used by this group", "Display People DB",
     kGroup, help::kPeopleFileOwner},
    {about, "&About ORVSched...", "", "", "", kApp, help::kAbout},
    {tutorial, "&Tutorial", "", "", "", kApp, help::kFirstStart},
    {Command::help, "Help", "F1", "Display help for current task or command", "Help", kFrame,
     help::kContents},
    {contextHelp, "Help", "Shift+F1", "Display help for clicked on buttons, menus and windows",
     "Help", kFrame, help::kMainWindow},
    {exportReservations, "&Export...", "", "Export reservations as an iCalendar or CSV file", "Export",
     kGroup, help::kExport},
    {calendarFile, "Calendar &File...", "", "Keep a calendar file of this group for calendar programs",
     "Calendar File", kGroup, help::kCalendarFile},
    {findFreeItem, "&Find Free Item...", "", "Find the items that are free for a time", "Find Free Item",
     kGroup, help::kFindFreeItem},
    {reminders, "Remi&nders...", "", "Choose who you are in this group and be reminded of your reservations",
     "Reminders", kGroup, help::kReminders},
    {undo, "&Undo", "Ctrl+Z", "Take back your last change of this group", "Undo", kGroup,
     help::kHistory},
    {redo, "&Redo", "Ctrl+Shift+Z", "Make again the change you took back last", "Redo", kGroup,
     help::kHistory},
    {history, "&History...", "", "Show who changed what in this group", "History", kGroup,
     help::kHistory},
    {importReservations, "&Import Reservations...", "",
     "Import reservations from an iCalendar or CSV file", "Import Reservations", kGroup,
     help::kImportReservations},
}};

constexpr bool tableInOrder() {
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        if (static_cast<std::size_t>(kCommands[i].id) != i) return false;
    return true;
}
static_assert(tableInOrder(), "the command table follows the order of the enum");

} // namespace

const CommandInfo& commandInfo(Command id) {
    return kCommands[static_cast<std::size_t>(id)];
}

std::span<const CommandInfo> allCommands() {
    return kCommands;
}

} // namespace orv
