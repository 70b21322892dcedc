#pragma once
// Every command of the two menus, the toolbar and the right-click menu of an item, with its menu
// text, shortcut, status bar prompt, short name (tooltip), who handles it and its help topic.

#include <span>

namespace orv {

enum class Command {
    newGroup,
    openGroup,
    closeGroup,
    mergeGroups,
    compressDatabases,
    print,
    printPreview,
    printSetup,
    exit,
    specifyBlockout,
    removeBlockout,
    deleteOldReservations,
    modifyGroupInfo,
    addItem,
    modifyDeleteItem,
    itemDelete, // right-click menu of an item
    itemModify, // right-click menu of an item
    peopleAdd,
    peopleModify,
    peopleDelete,
    peopleList,
    peopleImport,
    attendeesAdd,
    attendeesModify,
    attendeesDelete,
    attendeesList,
    attendeesImport,
    daysReservations,
    monthsReservations,
    personsReservations,
    allReservations,
    utilization,
    attendance,
    toolbar,
    statusBar,
    preferences,
    newWindow,
    cascade,
    tile,
    helpTopics,
    displayPeopleFileOwner,
    about,
    tutorial,
    help,        // F1
    contextHelp, // Shift+F1
    exportReservations,
    calendarFile,
    findFreeItem,
    reminders,
    undo,
    redo,
    history,
    importReservations,
    count
};

enum class CommandRoute {
    application, // handled by CORVSchedApp
    frame,       // handled by CMainFrame (bars, windows, help)
    group        // handled by the active group window's CGroupCommandTarget
};

struct CommandInfo {
    Command id;
    const char* text;      // menu text with its mnemonic; empty for commands without an entry
    const char* shortcut;  // QKeySequence portable text; empty for none
    const char* prompt;    // status bar prompt; empty shows the idle text
    const char* shortName; // toolbar tooltip; empty for none
    CommandRoute route;
    const char* helpTopic; // see HelpTopics.h
};

const CommandInfo& commandInfo(Command id);
std::span<const CommandInfo> allCommands();

} // namespace orv
