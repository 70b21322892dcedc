// A write the operating system refuses: the message box gives the system's reason on a line of
// its own after the message's own text, once, with the failure it belongs to.
#include "common/FaultFs.h"
#include "common/GroupFixture.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"

#include <cstring>

namespace orv::test {
namespace {

class SystemReasonTest : public GroupFixture {
protected:
    void book(int startHour, int endHour) {
        prompt.fill<CAddReservation>([=](CAddReservation& r) {
            r.date = {2026, 12, 8};
            r.setStartTime(startHour, 0);
            r.setEndTime(endHour, 0);
            r.selectedPerson = r.personLine({"Pat", "", "Smith", ""});
        });
        CItemDayModel day(*doc, 0, CDate{2026, 12, 8});
        day.makeReservation();
    }
    FaultFs files;
};

TEST_F(SystemReasonTest, AWriteFailureShowsTheSystemsReasonAfterTheMessage) {
    struct Case {
        const char* name;
        int FaultFs::*fault;
        int error;
    };
    const Case cases[] = {{"a full disk", &FaultFs::writeError, ENOSPC},
                          {"an I/O error at the flush", &FaultFs::fsyncError, EIO}};
    addItems({"Lab"});
    addPerson("Pat", "", "Smith", "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.reset();
        prompt = ScriptedPrompt();
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        code4init(&doc->code(), &files);
        doc->code().silentErrors = 1;
        ASSERT_TRUE(doc->openGroup(group));
        files.*c.fault = c.error;
        book(13, 14);
        files.writeError = files.fsyncError = 0;
        ASSERT_FALSE(prompt.messages.empty());
        EXPECT_EQ(prompt.messages.back(),
                  (RecordedMessage{CAddReservation::kNotWritten, CAddReservation::kDatabaseError,
                                   PromptIcon::error}));
        EXPECT_EQ(prompt.shown.back(), std::string(CAddReservation::kNotWritten) +
                                           "\nReason: " + std::strerror(c.error));
        // The next message has nothing to do with that failure.
        book(15, 14);
        EXPECT_EQ(prompt.shown.back(), CAddReservation::kEndNotAfterStart);
    }
}

} // namespace
} // namespace orv::test
