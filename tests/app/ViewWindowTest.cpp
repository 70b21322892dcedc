// The main view inside the program's windows: the window size kept in the group file, the window
// title that follows the group description, Window > New Window and File > Close Group.
#include "ViewTestSupport.h"

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "group/CGroupFile.h"
#include "people/CPersonModel.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CRosterModel.h"
#include "reservations/CShowReservation.h"
#include "ui/CColorChooser.h"
#include "ui/CDialogRegistry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QTimer>

namespace orv::test {
namespace {

class CScriptedUser : public ScriptedPrompt, public CColorChooser {
public:
    std::optional<int> chooseColor(int) override { return std::nullopt; }
};

class ViewWindowTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        appSettings.writeInt("Startup", "StartedBefore", 1);
        app = std::make_unique<CORVSchedApp>(appSettings, user, user, CORVSchedApp::Options{0});
        ASSERT_TRUE(app->start({}));
    }
    void TearDown() override {
        app.reset();
        ViewFixture::TearDown();
    }

    std::vector<CChildFrame*> frames() const { return app->mainFrame()->childFrames(); }
    static CORVSchedView* viewOf(CChildFrame* frame) {
        return qobject_cast<CORVSchedView*>(frame->widget());
    }
    CChildFrame* openInApp() {
        EXPECT_TRUE(app->openGroup(QString::fromStdString(group)));
        return app->findOpenGroup(QString::fromStdString(group));
    }
    static void deleteClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    CRect rectOnDisk() {
        CGroupFileData data;
        std::string why;
        EXPECT_TRUE(CGroupFile::read(group, data, why)) << why;
        return data.window;
    }

    CMemorySettings appSettings;
    CScriptedUser user;
    std::unique_ptr<CORVSchedApp> app;
};

TEST_F(ViewWindowTest, ClosingStoresTheWindowRectangleAndTheNextOpeningTakesItsSize) {
    addNumberedItems(2);
    CChildFrame* frame = openInApp();
    ASSERT_NE(frame, nullptr);
    frame->resize(420, 300);
    frame->move(15, 25);
    QPointer<CChildFrame> gone = frame;
    viewOf(frame)->run(Command::closeGroup);
    deleteClosedWindows();
    ASSERT_TRUE(gone.isNull());
    EXPECT_EQ(rectOnDisk(), (CRect{15, 25, 435, 325}));

    CChildFrame* again = openInApp();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->size(), QSize(420, 300));
}

TEST_F(ViewWindowTest, AGroupWithoutAStoredRectangleKeepsTheWindowsOwnSize) {
    ASSERT_EQ(rectOnDisk().right, 0);
    CChildFrame* frame = openInApp();
    ASSERT_NE(frame, nullptr);
    EXPECT_NE(frame->size(), QSize(0, 0));
}

TEST_F(ViewWindowTest, NewWindowShowsTheSameDocumentAndCloseGroupClosesEveryWindowOfIt) {
    addNumberedItems(1);
    CChildFrame* first = openInApp();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(viewOf(first)->isEnabled(Command::newWindow));
    viewOf(first)->run(Command::newWindow);
    ASSERT_EQ(frames().size(), 2u);
    CORVSchedView* a = viewOf(frames()[0]);
    CORVSchedView* b = viewOf(frames()[1]);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->sharedDocument(), b->sharedDocument());
    EXPECT_EQ(frames()[1]->windowTitle(), "Main Building");

    // A change of the description retitles every window of the group.
    user.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
        m.kindWord = "room";
        m.description = "New Wing";
    });
    b->run(Command::modifyGroupInfo);
    EXPECT_EQ(frames()[0]->windowTitle(), "New Wing");
    EXPECT_EQ(frames()[1]->windowTitle(), "New Wing");

    std::weak_ptr<CORVSchedDoc> document = a->sharedDocument();
    a->run(Command::closeGroup);
    deleteClosedWindows();
    EXPECT_TRUE(frames().empty());
    EXPECT_TRUE(document.expired()) << "the document goes with its last window";
}

TEST_F(ViewWindowTest, CloseGroupLeavesOtherGroupsOpen) {
    const std::string other = dir.file("Other.sch");
    {
        ScriptedPrompt maker;
        maker.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
            m.kindWord = "car";
            m.description = "Cars";
        });
        maker.files.push_back(other);
        CMemorySettings s;
        CORVSchedDoc d(maker, s);
        ASSERT_TRUE(d.createGroup());
    }
    CChildFrame* rooms = openInApp();
    ASSERT_TRUE(app->openGroup(QString::fromStdString(other)));
    ASSERT_EQ(frames().size(), 2u);
    viewOf(rooms)->run(Command::closeGroup);
    deleteClosedWindows();
    ASSERT_EQ(frames().size(), 1u);
    EXPECT_EQ(frames()[0]->windowTitle(), "Cars");
}

// The one test that drives a real modal dialog: the preview draws the view through the print path.
TEST_F(ViewWindowTest, PrintPreviewOpensOnTheViewAndCloses) {
    addNumberedItems(2);
    CChildFrame* frame = openInApp();
    ASSERT_NE(frame, nullptr);
    bool previewed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            previewed = qobject_cast<QPrintPreviewDialog*>(dialog) != nullptr;
            dialog->reject();
        }
    });
    poll.start(20);
    viewOf(frame)->run(Command::printPreview);
    EXPECT_TRUE(previewed);
}

TEST_F(ViewWindowTest, TheProgramHasADialogForEveryModelItRuns) {
    for (const char* id : {CItemInfoModel::kId, CItemDayModel::kId, CAddReservation::kId,
                           CShowReservation::kId, CRosterModel::kId, CPersonModel::kId})
        EXPECT_NE(CDialogRegistry::find(id), nullptr) << id;
}

} // namespace
} // namespace orv::test
