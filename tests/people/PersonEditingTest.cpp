// The People and Attendees menus: the person dialog's checks and writes, the list and delete
// dialogs, and a rename refused as a duplicate that leaves the table usable.
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "common/TestGroup.h"
#include "group/CGroupInfoModel.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "people/CPeopleCommands.h"
#include "people/CPersonDeleteModel.h"
#include "people/CPersonInfoModel.h"
#include "people/CPersonListModel.h"
#include "people/CPersonModel.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using Messages = std::vector<RecordedMessage>;
using Kind = CPeople::Kind;

class PersonEditing : public ::testing::Test {
protected:
    void SetUp() override {
        group = dir.file("Room.sch");
        createGroup(group);
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(group));
    }

    void scriptPerson(std::string first, std::string last, std::string dept = "", int marks = -1) {
        prompt.fill<CPersonModel>([=](CPersonModel& p) {
            p.firstName = first;
            p.lastName = last;
            p.department = dept;
            if (marks >= 0) {
                p.mayReserve = marks & 2;
                p.attendee = marks & 1;
            }
        });
    }
    std::vector<std::string> listed(Kind kind) {
        std::vector<std::string> out;
        for (const CListLine& l : CPersonListModel::linesOf(doc->people(), kind)) out.push_back(l.text);
        return out;
    }

    TempDir dir;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::string group;
    std::unique_ptr<CORVSchedDoc> doc;
};

TEST_F(PersonEditing, TheDialogChecksNamesAndMarksBeforeWriting) {
    scriptPerson("Alex", "");
    scriptPerson("Alex", "Morgan", "", 0);
    scriptPerson("Alex", "Morgan", "Sales", 3);
    CPeopleCommands(*doc).add(Kind::MayReserve);
    scriptPerson("Alex", "Morgan", "Sales");
    prompt.cancelDialog();
    CPeopleCommands(*doc).add(Kind::Attendee);
    EXPECT_EQ(prompt.messages, (Messages{error(CPersonModel::kNameMissing, "Name Error"),
                                         error(CPersonModel::kNoKind, "Type Error"),
                                         error(CPersonModel::kExists, "Add Error")}));
    EXPECT_EQ(listed(Kind::MayReserve), std::vector<std::string>{"Morgan, Alex    (Sales)   "});
    EXPECT_EQ(listed(Kind::Attendee), std::vector<std::string>{"Morgan, Alex    (Sales)   "});
}

TEST_F(PersonEditing, TitlesAndButtonsFollowTheKind) {
    CPersonModel person(doc->people(), CPersonModel::Mode::Add, true, false);
    CPersonModel attendee(doc->people(), CPersonModel::Mode::Add, false, true);
    CPersonModel neither(doc->people(), CPersonModel::Mode::AddFromList, false, false);
    EXPECT_EQ(person.title(), "Add a New Person");
    EXPECT_STREQ(person.confirmLabel(), "Add and Close");
    EXPECT_EQ(attendee.title(), "Add a New Attendee");
    EXPECT_EQ(neither.title(), "Add a New Person") << "no mark checks \"Can make reservations\"";
    EXPECT_TRUE(neither.mayReserve);
    EXPECT_STREQ(neither.confirmLabel(), "OK");
}

TEST_F(PersonEditing, AddAndNewEmptiesTheTextsAndKeepsTheBoxes) {
    prompt.dialogSteps.push_back([&](CDialogModel& m) {
        auto& p = dynamic_cast<CPersonModel&>(m);
        p.firstName = "Li";
        p.lastName = "Chen";
        p.phone = "555";
        p.attendee = true;
        EXPECT_TRUE(p.addAndNew(prompt));
        EXPECT_EQ(p.firstName + p.lastName + p.phone, "");
        EXPECT_TRUE(p.attendee && p.mayReserve);
        p.firstName = "Li";
        p.lastName = "Chen";
        EXPECT_FALSE(p.addAndNew(prompt));
        EXPECT_EQ(p.lastName, "Chen") << "a refused add keeps the fields";
        p.firstName = "Kim";
        return true;
    });
    CPeopleCommands(*doc).add(Kind::MayReserve);
    EXPECT_EQ(listed(Kind::Attendee), (std::vector<std::string>{"Chen, Kim    ", "Chen, Li    ** 555 **   "}));
}

TEST_F(PersonEditing, ChangingRewritesTheChosenRecordAndKeepsMarks) {
    scriptPerson("Pat", "Ames", "Ops", 1);
    CPeopleCommands(*doc).add(Kind::Attendee);
    scriptPerson("Sam", "Baker", "", 1);
    CPeopleCommands(*doc).add(Kind::Attendee);
    auto modify = [&](int line, std::function<void(CPersonModel&)> change) {
        prompt.fill<CPersonListModel>([line](CPersonListModel& l) { l.selected = line; });
        prompt.fill<CPersonModel>(std::move(change));
        CPeopleCommands(*doc).modify(Kind::Attendee);
    };
    modify(0, [](CPersonModel& p) {
        EXPECT_EQ(p.title(), "Modify Attendee");
        p.lastName = "Amos";
        p.mayReserve = true;
        p.attendee = false; // an unchecked box takes no mark away
    });
    EXPECT_EQ(listed(Kind::Attendee), (std::vector<std::string>{"Amos, Pat    (Ops)   ", "Baker, Sam    "}));
    // A rename onto another person's key is refused; the table stays usable.
    modify(0, [](CPersonModel& p) {
        p.lastName = "Baker";
        p.firstName = "Sam";
        p.department = "";
    });
    EXPECT_EQ(prompt.messages, (Messages{error(CPersonModel::kExists, "Add Error")}));
    scriptPerson("Kim", "Lee", "", 1);
    CPeopleCommands(*doc).add(Kind::Attendee);
    EXPECT_EQ(listed(Kind::Attendee),
              (std::vector<std::string>{"Amos, Pat    (Ops)   ", "Baker, Sam    ", "Lee, Kim    "}));
}

TEST_F(PersonEditing, ListsPickAndDeleteAsked) {
    for (auto name : {"Ames", "Baker", "Chen"}) {
        scriptPerson("Pat", name);
        CPeopleCommands(*doc).add(Kind::MayReserve);
    }
    // Browsing: a pick shows the person and the list stays; OK without a pick closes it.
    prompt.fill<CPersonListModel>([](CPersonListModel& l) {
        EXPECT_STREQ(l.title(), "List of People in This Group");
        l.selected = 1;
    });
    std::string shown;
    prompt.dialogSteps.push_back([&](CDialogModel& m) {
        shown = std::string(dynamic_cast<CPersonInfoModel&>(m).title()) + ": " +
                dynamic_cast<CPersonInfoModel&>(m).person().lastName();
        return true;
    });
    prompt.fill<CPersonListModel>([](CPersonListModel& l) { l.selected = -1; });
    CPeopleCommands(*doc).list(Kind::MayReserve);
    EXPECT_EQ(shown, "Person Information: Baker");
    // Modify with nothing picked stays open with a message.
    prompt.fill<CPersonListModel>([](CPersonListModel& l) { l.selected = -1; });
    prompt.cancelDialog();
    CPeopleCommands(*doc).modify(Kind::MayReserve);
    // Delete three: one question naming the count.
    prompt.fill<CPersonDeleteModel>([](CPersonDeleteModel& d) { d.selected = {2, 0, 1}; });
    prompt.answers = {true};
    CPeopleCommands(*doc).remove(Kind::MayReserve);
    prompt.fill<CPersonDeleteModel>([](CPersonDeleteModel& d) { d.selected = {}; });
    CPeopleCommands(*doc).remove(Kind::MayReserve);
    EXPECT_EQ(prompt.messages,
              (Messages{error(CPersonListModel::kNoSelection, "No Person Selected"),
                        question("Are you sure you want to delete these 3 people?", "Confirm Delete"),
                        info(CPersonDeleteModel::kNoneDeleted, "No One Deleted")}));
    EXPECT_TRUE(listed(Kind::MayReserve).empty());
}

} // namespace
} // namespace orv::test
