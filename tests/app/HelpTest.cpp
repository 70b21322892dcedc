#include "app/Command.h"
#include "ui/CHelpWindow.h"
#include "ui/HelpTopics.h"

#include <QDialog>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(HelpTest, EveryTopicHasAPage) {
    for (const char* topic : help::kAllTopics)
        EXPECT_TRUE(CHelpWindow::hasTopic(topic)) << topic;
}

TEST(HelpTest, EveryCommandNamesAnExistingTopic) {
    for (const CommandInfo& info : allCommands())
        EXPECT_TRUE(CHelpWindow::hasTopic(info.helpTopic)) << info.text;
}

TEST(HelpTest, ShowHelpOpensANonModalWindowAtTheTopic) {
    showHelp(help::kNewGroup);
    CHelpWindow* window = CHelpWindow::existing();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->currentTopic(), "new_group");
    showHelp(QStringLiteral("no_such_topic"));
    EXPECT_EQ(window->currentTopic(), "contents");
    window->close();
}

TEST(HelpTest, HelpFromAModalDialogStaysUsableAndOutlivesTheDialog) {
    bool joinedDialog = false;
    {
        QDialog dialog;
        QTimer::singleShot(0, &dialog, [&] {
            showHelp(help::kAbout);
            joinedDialog = CHelpWindow::existing()->parentWidget() == &dialog &&
                           !CHelpWindow::existing()->isHidden();
            dialog.accept();
        });
        dialog.exec();
    }
    EXPECT_TRUE(joinedDialog);
    CHelpWindow* window = CHelpWindow::existing();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->currentTopic(), "about");
    window->close();
}

TEST(HelpTest, TheTutorialPageIsShipped) {
    ensureHelpResources();
    QFile page(QStringLiteral(":/tutorial/tutorial.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("ORV Scheduler Tutorial"));
}

} // namespace
} // namespace orv
