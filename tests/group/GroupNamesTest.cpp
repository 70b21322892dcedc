// Names derived from a group file's path, and the two forms of the kind word.
#include "group/CGroupNames.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(GroupNames, EveryFileOfAGroupIsNamedFromTheGroupFilesFolderAndStem) {
    const std::string path = "/srv/groups/Rooms.sch";
    EXPECT_EQ(CGroupNames::groupFolder(path), "/srv/groups/");
    EXPECT_EQ(CGroupNames::basePath(path), "/srv/groups/Rooms");
    EXPECT_EQ(CGroupNames::stampFile(path), "/srv/groups/RoomsUpdate.bin");
    EXPECT_EQ(CGroupNames::scheduleTable(path), "/srv/groups/RoomsSched");
    EXPECT_EQ(CGroupNames::rosterLinkTable(path), "/srv/groups/RoomsRosLnk");
    EXPECT_EQ(CGroupNames::ownPeopleTable(path), "/srv/groups/RoomsPeople");
}

TEST(GroupNames, AnotherGroupsPeopleFileIsLookedForInThisGroupsFolder) {
    EXPECT_EQ(CGroupNames::otherPeopleFile("/srv/groups/Rooms.sch", "OfficesPeople.dbf"),
              "/srv/groups/OfficesPeople.dbf");
}

TEST(GroupNames, OnlyTheLastDotOfTheFileNameEndsTheStem) {
    EXPECT_EQ(CGroupNames::basePath("/srv/a.b.sch"), "/srv/a.b");
    EXPECT_EQ(CGroupNames::basePath("/srv/Rooms"), "/srv/Rooms");
    EXPECT_EQ(CGroupNames::basePath("/srv/v1.2/Rooms"), "/srv/v1.2/Rooms");
    EXPECT_EQ(CGroupNames::stampFile("/srv/v1.2/Rooms"), "/srv/v1.2/RoomsUpdate.bin");
    EXPECT_EQ(CGroupNames::basePath("/srv/.sch"), "/srv/");
}

TEST(GroupNames, BareFileNameHasAnEmptyFolder) {
    EXPECT_EQ(CGroupNames::groupFolder("Rooms.sch"), "");
    EXPECT_EQ(CGroupNames::basePath("Rooms.sch"), "Rooms");
    EXPECT_EQ(CGroupNames::otherPeopleFile("Rooms.sch", "P.dbf"), "P.dbf");
}

TEST(GroupNames, KindWordFormsChangeOnlyAFirstAsciiLetter) {
    EXPECT_EQ(CGroupNames::kindWordUpper("room"), "Room");
    EXPECT_EQ(CGroupNames::kindWordLower("Room"), "room");
    EXPECT_EQ(CGroupNames::kindWordUpper("ROOM"), "ROOM");
    EXPECT_EQ(CGroupNames::kindWordLower("ROOM"), "rOOM");
    EXPECT_EQ(CGroupNames::kindWordUpper("3D printer"), "3D printer");
    EXPECT_EQ(CGroupNames::kindWordLower("\xC9quipe"), "\xC9quipe"); // Windows-1252 E acute
    EXPECT_EQ(CGroupNames::kindWordUpper("\xE9quipe"), "\xE9quipe");
    EXPECT_EQ(CGroupNames::kindWordUpper(""), "");
}

} // namespace
} // namespace orv
