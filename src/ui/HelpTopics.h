#pragma once
// Topic names of the help pages compiled into the program (":/help/<topic>.html"). A dialog's
// Help button and F1 open its topic with showHelp() (CHelpWindow.h).

namespace orv::help {

inline constexpr const char* kContents = "contents";
inline constexpr const char* kFirstStart = "first_start";
inline constexpr const char* kMainWindow = "main_window";
inline constexpr const char* kGroupWindow = "group_window";
inline constexpr const char* kNewGroup = "new_group";
inline constexpr const char* kOpenGroup = "open_group";
inline constexpr const char* kCloseGroup = "close_group";
inline constexpr const char* kModifyGroup = "modify_group";
inline constexpr const char* kMergeGroups = "merge_groups";
inline constexpr const char* kCompressDatabases = "compress_databases";
inline constexpr const char* kPrint = "print";
inline constexpr const char* kItems = "items";
inline constexpr const char* kItemDay = "item_day";
inline constexpr const char* kMakeReservation = "make_reservation";
inline constexpr const char* kReservationDetail = "reservation_detail";
inline constexpr const char* kSelectAttendees = "select_attendees";
inline constexpr const char* kBlockouts = "blockouts";
inline constexpr const char* kDeleteOldReservations = "delete_old_reservations";
inline constexpr const char* kPeople = "people";
inline constexpr const char* kAttendees = "attendees";
inline constexpr const char* kImportPeople = "import_people";
inline constexpr const char* kDayAtAGlance = "day_at_a_glance";
inline constexpr const char* kMonthAtAGlance = "month_at_a_glance";
inline constexpr const char* kPersonReservations = "person_reservations";
inline constexpr const char* kAttendance = "attendance";
inline constexpr const char* kReservationReport = "reservation_report";
inline constexpr const char* kUtilization = "utilization";
inline constexpr const char* kPreferences = "preferences";
inline constexpr const char* kPrefReservationSettings = "pref_reservation_settings";
inline constexpr const char* kPrefNetwork = "pref_network";
inline constexpr const char* kPrefDeleteReservations = "pref_delete_reservations";
inline constexpr const char* kPrefDayAtAGlance = "pref_day_at_a_glance";
inline constexpr const char* kPrefStartupGroup = "pref_startup_group";
inline constexpr const char* kPrefGroupSettings = "pref_group_settings";
inline constexpr const char* kPrefOldDatabases = "pref_old_databases";
inline constexpr const char* kPrefInUseColor = "pref_in_use_color";
inline constexpr const char* kPrefPartialColor = "pref_partial_color";
inline constexpr const char* kPrefAvailableColor = "pref_available_color";
inline constexpr const char* kAbout = "about";
inline constexpr const char* kPeopleFileOwner = "people_file_owner";
inline constexpr const char* kExport = "export";
inline constexpr const char* kCalendarFile = "calendar_file";
inline constexpr const char* kFindFreeItem = "find_free_item";
inline constexpr const char* kReminders = "reminders";
inline constexpr const char* kHistory = "history";
inline constexpr const char* kImportReservations = "import_reservations";

// Every topic above; each has a page.
inline constexpr const char* kAllTopics[] = {kContents,
                                             kFirstStart,
                                             kMainWindow,
                                             kGroupWindow,
                                             kNewGroup,
                                             kOpenGroup,
                                             kCloseGroup,
                                             kModifyGroup,
                                             kMergeGroups,
                                             kCompressDatabases,
                                             kPrint,
                                             kItems,
                                             kItemDay,
                                             kMakeReservation,
                                             kReservationDetail,
                                             kSelectAttendees,
                                             kBlockouts,
                                             kDeleteOldReservations,
                                             kPeople,
                                             kAttendees,
                                             kImportPeople,
                                             kDayAtAGlance,
                                             kMonthAtAGlance,
                                             kPersonReservations,
                                             kAttendance,
                                             kReservationReport,
                                             kUtilization,
                                             kPreferences,
                                             kPrefReservationSettings,
                                             kPrefNetwork,
                                             kPrefDeleteReservations,
                                             kPrefDayAtAGlance,
                                             kPrefStartupGroup,
                                             kPrefGroupSettings,
                                             kPrefOldDatabases,
                                             kPrefInUseColor,
                                             kPrefPartialColor,
                                             kPrefAvailableColor,
                                             kAbout,
                                             kPeopleFileOwner,
                                             kExport,
                                             kCalendarFile,
                                             kFindFreeItem,
                                             kReminders,
                                             kHistory,
                                             kImportReservations};

} // namespace orv::help
