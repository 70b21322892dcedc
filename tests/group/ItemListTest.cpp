// The document's item list: lookup by exact name, appending, removing, and subsets of names.
#include "group/CItemList.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

CRoom item(const std::string& name, int occupancy, int length) {
    CRoom r;
    r.setName(name);
    r.setLongDescription(name + " description");
    r.setOccupancy(occupancy);
    r.setDefaultLength(length);
    return r;
}

CItemList threeItems() {
    CItemList list;
    list.append(item("Boardroom", 12, 60));
    list.append(item("Annex", 4, 30));
    list.append(item("Studio", 2, 90));
    for (int i = 0; i < 3; ++i)
        list.setRect(i, CRect{i * 100, 0, i * 100 + 90, 50});
    return list;
}

TEST(ItemList, RemovingTheFirstOfThreeMovesTheOthersUpWithAllTheyHold) {
    CItemList list = threeItems();
    list.at(1).setInUse(true);
    list.at(1).setCurrentUse("Smith, J");
    list.at(2).setCurrentUse("Jones");

    ASSERT_TRUE(list.removeAt(0));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0).name(), "Annex");
    EXPECT_EQ(list.at(0).occupancy(), 4);
    EXPECT_EQ(list.at(0).defaultLength(), 30);
    EXPECT_EQ(list.at(0).longDescription(), "Annex description");
    EXPECT_TRUE(list.at(0).inUse());
    EXPECT_EQ(list.at(0).currentUse(), "Smith, J");
    EXPECT_EQ(list.rectAt(0), (CRect{100, 0, 190, 50}));
    EXPECT_EQ(list.at(1).name(), "Studio");
    EXPECT_EQ(list.at(1).occupancy(), 2);
    EXPECT_EQ(list.at(1).defaultLength(), 90);
    EXPECT_FALSE(list.at(1).inUse());
    EXPECT_EQ(list.at(1).currentUse(), "Jones");
    EXPECT_EQ(list.rectAt(1), (CRect{200, 0, 290, 50}));
    EXPECT_EQ(list.find("Boardroom"), -1);
}

TEST(ItemList, RemovingTheLastItemLeavesAListOneShorter) {
    CItemList list = threeItems();
    ASSERT_TRUE(list.removeAt(2));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0).name(), "Boardroom");
    EXPECT_EQ(list.at(1).name(), "Annex");
    EXPECT_EQ(list.rectAt(1), (CRect{100, 0, 190, 50}));
}

TEST(ItemList, RemovingOutsideTheListChangesNothing) {
    CItemList list = threeItems();
    EXPECT_FALSE(list.removeAt(3));
    EXPECT_FALSE(list.removeAt(-1));
    EXPECT_EQ(list.count(), 3);
}

TEST(ItemList, NamesDifferingOnlyInCaseAreDifferentItems) {
    CItemList list;
    list.append(item("Room A", 1, 0));
    list.append(item("room a", 2, 0));
    EXPECT_EQ(list.find("Room A"), 0);
    EXPECT_EQ(list.find("room a"), 1);
    EXPECT_EQ(list.find("ROOM A"), -1);
    EXPECT_EQ(list.find("Room A "), -1);
}

TEST(ItemList, FindGivesTheFirstOfEqualNames) {
    CItemList list;
    list.append(item("Twin", 1, 0));
    list.append(item("Twin", 2, 0));
    EXPECT_EQ(list.find("Twin"), 0);
}

TEST(ItemList, FindInAnEmptyListIsMinusOne) {
    CItemList list;
    EXPECT_EQ(list.find(""), -1);
    EXPECT_EQ(list.find("Boardroom"), -1);
}

TEST(ItemList, AppendAddsAtTheEndWithAnEmptyRectangle) {
    CItemList list = threeItems();
    list.append(item("Loft", 8, 120));
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.at(3).name(), "Loft");
    EXPECT_EQ(list.at(3).occupancy(), 8);
    EXPECT_EQ(list.at(3).defaultLength(), 120);
    EXPECT_TRUE(list.rectAt(3).isEmpty());
    EXPECT_EQ(list.rectAt(2), (CRect{200, 0, 290, 50}));
}

TEST(ItemList, ItemsReadFromAGroupFileStartWithEmptyRectangles) {
    CItemList list = threeItems();
    list.assign({item("X", 1, 0), item("Y", 2, 0)});
    ASSERT_EQ(list.count(), 2);
    EXPECT_TRUE(list.rectAt(0).isEmpty());
    EXPECT_TRUE(list.rectAt(1).isEmpty());
    EXPECT_EQ(list.at(1).name(), "Y");
}

TEST(ItemList, EmptySelectionNamesEveryItem) {
    const CItemList list = threeItems();
    EXPECT_EQ(list.namesOf({}), (std::vector<std::string>{"Boardroom", "Annex", "Studio"}));
}

TEST(ItemList, SelectionNamesComeInItemOrderSkippingUnknownIndices) {
    const CItemList list = threeItems();
    EXPECT_EQ(list.namesOf({2, 0, 7, -1}), (std::vector<std::string>{"Boardroom", "Studio"}));
}

} // namespace
} // namespace orv
