// The person key: identity, search key and list line.
#include "tables/CFieldText.h"
#include "tables/CPeopleKey.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(PeopleKey, EqualOnlyWhenAllFourTextsAreEqualExactly) {
    const CPeopleKey a("John", "Q", "Smith", "Sales");
    EXPECT_EQ(a, CPeopleKey("John", "Q", "Smith", "Sales"));
    EXPECT_NE(a, CPeopleKey("John", "Q", "smith", "Sales"));
    EXPECT_NE(a, CPeopleKey("John", "", "Smith", "Sales"));
    EXPECT_NE(a, CPeopleKey("Jon", "Q", "Smith", "Sales"));
    EXPECT_NE(a, CPeopleKey("John", "Q", "Smith", "Sales "));
}

TEST(PeopleKey, SearchKeyIsLastFirstMiDepartmentPaddedTo49) {
    const CPeopleKey key("John", "Q", "Smith", "Sales");
    const std::string expected = std::string("Smith") + std::string(16, ' ') + "John" +
                                 std::string(12, ' ') + "Q " + "Sales     ";
    EXPECT_EQ(key.searchKey(), expected);
    EXPECT_EQ(key.searchKey().size(), 49u);
}

TEST(PeopleKey, OneCharacterLastNameAloneStillGivesA49CharacterKey) {
    const std::string key = CPeopleKey("", "", "X", "").searchKey();
    EXPECT_EQ(key, "X" + std::string(48, ' '));
}

TEST(PeopleKey, SearchKeyPadsButNeverCutsLikeItsFormat) {
    const std::string longLast(25, 'L');
    EXPECT_EQ(CPeopleKey("A", "", longLast, "").searchKey().substr(0, 26), longLast + "A");
}

TEST(PeopleKey, ListLineCarriesDepartmentAndPhoneOnlyWhenGiven) {
    const CPeopleKey key("John", "Q", "Smith", "Sales");
    EXPECT_EQ(key.listLine(), "Smith, John Q   (Sales)   ");
    EXPECT_EQ(key.listLine("555-1234"), "Smith, John Q   (Sales)   ** 555-1234 **   ");
    const CPeopleKey bare("Ann", "", "Lee", "");
    EXPECT_EQ(bare.listLine(), "Lee, Ann    ");
    EXPECT_EQ(bare.listLine("12"), "Lee, Ann    ** 12 **   ");
}

TEST(FieldText, DecimalConversionTakesLeadingDigitsOnly) {
    EXPECT_EQ(CFieldText::decimal("0930"), 930);
    EXPECT_EQ(CFieldText::decimal(" 7x"), 7);
    EXPECT_EQ(CFieldText::decimal("x7"), 0);
    EXPECT_EQ(CFieldText::decimal("  "), 0);
    EXPECT_EQ(CFieldText::decimal("-12"), -12);
    EXPECT_EQ(CFieldText::decimal("99999999999999999999"), 2147483647);
}

TEST(FieldText, DatesSplitByPositionWhateverTheyHold) {
    int y = -1, m = -1, d = -1;
    CFieldText::splitDate("20240315", y, m, d);
    EXPECT_EQ(y, 2024);
    EXPECT_EQ(m, 3);
    EXPECT_EQ(d, 15);
    CFieldText::splitDate("        ", y, m, d);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(d, 0);
    CFieldText::splitDate("2", y, m, d);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(d, 0);
    CFieldText::splitDate("", y, m, d);
    EXPECT_EQ(y, 0);
}

TEST(FieldText, ReservationKeyRightAlignsDateAndTimesAndLeftAlignsTheItem) {
    EXPECT_EQ(CFieldText::reservationKey("20240315", "Boardroom", "09", "30"),
              "20240315Boardroom           0930");
    EXPECT_EQ(CFieldText::reservationKey("20240315", "", "", ""),
              "20240315" + std::string(24, ' '));
    EXPECT_EQ(CFieldText::reservationKey("2024031", "A", "9", ""),
              " 2024031A" + std::string(19, ' ') + " 9  ");
}

} // namespace
} // namespace orv
