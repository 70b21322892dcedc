// View > Reminders... keeps the user's choice for the group, refuses reminders for nobody, and the
// tray's menu lists the next reservations; both are saved as pictures among the test artifacts.
#include "app/ViewTestSupport.h"
#include "common/ScriptedPrompt.h"
#include "group/CGroupNames.h"
#include "reminders/CReminderChoiceModel.h"
#include "reminders/widgets/CReminderChoiceDlg.h"
#include "reminders/widgets/CReminderTray.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>

namespace orv::test {
namespace {

using ReminderChoice = ViewFixture;

TEST_F(ReminderChoice, TheChoiceIsKeptForTheGroupAndNobodyIsNotReminded) {
    doc = openDoc();
    for (const char* last : {"Ames", "Smith"}) {
        doc->people().clearImage();
        doc->people().image().setName("Pat", "", last);
        doc->people().image().setFlags(CPeopleRecord::kFlagMayReserve);
        ASSERT_EQ(doc->people().append(), 0);
    }
    const QString artifacts = QStringLiteral(ORV_BINARY_DIR "/artifacts");
    QDir().mkpath(artifacts);
    {
        CReminderChoiceModel model(*doc);
        ASSERT_EQ(model.lines.size(), 2u);
        EXPECT_EQ(model.chosen, -1);
        EXPECT_EQ(model.minutes, 15);
        CReminderChoiceDlg dialog(model, prompt);
        dialog.show();
        dialog.grab().save(artifacts + QStringLiteral("/reminders-dialog.png"));
        // Reminders for nobody: told, and the dialog stays.
        dialog.findChild<QCheckBox*>()->setChecked(true);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text, CReminderChoiceModel::kNoPerson);
        EXPECT_EQ(prompt.messages[0].title, "Reminders");
        EXPECT_EQ(prompt.messages[0].icon, PromptIcon::error);
        dialog.findChild<QComboBox*>()->setCurrentIndex(2);
        dialog.findChild<QSpinBox*>()->setValue(20);
        dialog.accept();
        EXPECT_FALSE(dialog.isVisible());
    }
    const CReminderChoiceModel again(*doc);
    ASSERT_GE(again.chosen, 0);
    EXPECT_EQ(again.people[static_cast<std::size_t>(again.chosen)].lastName(), "Smith");
    EXPECT_EQ(again.minutes, 20);
    EXPECT_TRUE(again.remind);
    // Another group of the same user keeps its own choice.
    CReminders other(*doc);
    EXPECT_EQ(other.person()->lastName(), "Smith");
    EXPECT_EQ(settings.readText(CReminders::kSection,
                                CGroupNames::settingKey(dir.file("Other.sch")) + "Person"),
              "");

    std::vector<std::string> next = {"Room 2 12/08/2026 10:10 AM - 11:00 AM"};
    CReminderTray tray(nullptr, [&] { return next; });
    QSignalSpy open(&tray, &CReminderTray::openRequested), quit(&tray, &CReminderTray::quitRequested);
    const auto texts = [&] {
        emit tray.menu()->aboutToShow();
        QStringList t;
        for (QAction* a : tray.menu()->actions()) t << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return t;
    };
    EXPECT_EQ(texts(), (QStringList{"&Open ORV Scheduler", "-", "Next reservations:",
                                    "Room 2 12/08/2026 10:10 AM - 11:00 AM", "-", "&Quit"}));
    tray.menu()->popup(QPoint(0, 0));
    tray.menu()->grab().save(artifacts + QStringLiteral("/reminders-tray-menu.png"));
    tray.menu()->hide();
    next.clear();
    EXPECT_EQ(texts()[3], QStringLiteral("(none in the next 24 hours)"));
    tray.menu()->actions().first()->trigger();
    tray.menu()->actions().last()->trigger();
    EXPECT_EQ(open.count(), 1);
    EXPECT_EQ(quit.count(), 1);
}

} // namespace
} // namespace orv::test
