// A group this user may not write: told once when it opens, naming the folder; the commands that
// would write are refused at once with that reason; closing it writes nothing and tells nothing.
// The folder or a table has no write permission at all, which the file layer takes as read-only
// also for a user (root) whom the system would let write.
#include "ViewTestSupport.h"

#include "app/Command.h"
#include "reservations/CItemDayModel.h"

#include <filesystem>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

class ReadOnlyGroupTest : public ViewFixture {};

TEST_F(ReadOnlyGroupTest, TheReasonIsToldAtOpenAndAtEveryRefusedWriteAndClosingStaysQuiet) {
    struct Case {
        const char* name;
        const char* readOnly; // in the group's folder; "" the folder itself
    };
    const Case cases[] = {{"a folder without write permission", ""},
                          {"a schedule table without write permission", "RoomSched.dbf"}};
    addNumberedItems(1);
    reserve("Room 1", 1, 9, 0, 10, 0, "Old"); // old enough to be deleted at close
    settings.writeInt("Reservations", "DeleteOldRes", 1);
    const std::string reason =
        std::string(CORVSchedDoc::kReadOnlyFolder) + dir.path() + CORVSchedDoc::kReadOnlyRest;
    const RecordedMessage refused{reason, CORVSchedDoc::kReadOnlyTitle, PromptIcon::error};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path target = *c.readOnly ? fs::path(dir.file(c.readOnly)) : fs::path(dir.path());
        const fs::perms before = fs::status(target).permissions();
        fs::permissions(target,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        prompt = ScriptedPrompt();
        showView();
        ASSERT_TRUE(doc->readOnly());
        EXPECT_EQ(prompt.messages,
                  (std::vector<RecordedMessage>{
                      {reason, CORVSchedDoc::kReadOnlyTitle, PromptIcon::information}}));
        // A second window of the group does not tell it again.
        auto second = std::make_unique<CORVSchedView>(doc);
        second->show();
        EXPECT_EQ(prompt.messages.size(), 1u);

        for (Command command : {Command::addItem, Command::specifyBlockout, Command::peopleAdd,
                                Command::compressDatabases, Command::deleteOldReservations}) {
            prompt.messages.clear();
            view->run(command);
            EXPECT_EQ(prompt.messages, std::vector<RecordedMessage>{refused})
                << commandInfo(command).text;
        }
        prompt.messages.clear();
        CItemDayModel day(*doc, 0, CDate{2026, 12, 8});
        EXPECT_FALSE(day.makeReservation());
        day.terminateReservation();
        EXPECT_EQ(prompt.messages, (std::vector<RecordedMessage>{refused, refused}));
        EXPECT_TRUE(prompt.dialogsShown.empty()) << prompt.dialogsShown.front();

        // Reading goes on as before.
        prompt.messages.clear();
        view->run(Command::allReservations);
        EXPECT_NE(prompt.dialogsShown, std::vector<std::string>{}) << "the report's options";

        prompt.messages.clear();
        second.reset();
        view.reset();
        doc.reset();
        EXPECT_TRUE(prompt.messages.empty()) << prompt.messages.front().text;
        fs::permissions(target, before);
        auto check = openDoc();
        CItemDayModel old(*check, 0, CDate{2026, 12, 1});
        EXPECT_EQ(old.lines().size(), 1u) << "the old reservation was not deleted";
    }
}

} // namespace
} // namespace orv::test
