#include "app/CAboutDlg.h"
#include "app/CPeopleFileOwnerDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace orv {
namespace {

QStringList labelTexts(QWidget& w) {
    QStringList t;
    for (QLabel* l : w.findChildren<QLabel*>())
        if (!l->text().isEmpty()) t << l->text();
    return t;
}

TEST(AboutDlgTest, ShowsVersionThreePointZeroFive) {
    EXPECT_EQ(CAboutDlg::versionText(), "Version 3.05");
    CAboutDlg about("");
    EXPECT_EQ(about.windowTitle(), "About ORV Scheduler");
    EXPECT_EQ(about.versionLabel()->text(), "Version 3.05");
    EXPECT_TRUE(labelTexts(about).contains("ORV Scheduler samples were installed in folder :"));
}

TEST(AboutDlgTest, SamplesFolderIsTheDataDirFollowedBySamples) {
    CAboutDlg about("/opt/orv");
    EXPECT_EQ(about.samplesField()->text(), "/opt/orv/Samples/");
    EXPECT_TRUE(about.samplesField()->isReadOnly());
}

TEST(AboutDlgTest, WithoutADataDirTheSamplesAreNotInstalled) {
    CAboutDlg about("");
    EXPECT_EQ(about.samplesField()->text(), "Samples not installed");
}

TEST(AboutDlgTest, HasOnlyAnOkButton) {
    CAboutDlg about("");
    auto* box = about.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons()[0]->text(), "OK");
}

TEST(PeopleFileOwnerDlgTest, ShowsTheStoredPeopleFileName) {
    CPeopleFileOwnerDlg dlg("RoomsPeople.dbf");
    EXPECT_EQ(dlg.windowTitle(), "Display Owner of People File Used by This Group");
    EXPECT_EQ(labelTexts(dlg), QStringList{"People File Owned by the Following Group"});
    EXPECT_EQ(dlg.ownerField()->text(), "RoomsPeople.dbf");
    EXPECT_TRUE(dlg.ownerField()->isReadOnly());
    auto* box = dlg.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons()[0]->text(), "OK");
}

TEST(PeopleFileOwnerDlgTest, AnEmptyNameMeansTheGroupsOwnPeopleFile) {
    CPeopleFileOwnerDlg dlg("");
    EXPECT_EQ(dlg.ownerField()->text(), "This group has its own people file");
}

TEST(PeopleFileOwnerDlgTest, StoredTextIsShownAsWindows1252) {
    CPeopleFileOwnerDlg dlg("Caf\xE9People.dbf");
    EXPECT_EQ(dlg.ownerField()->text(), QString::fromUtf8("Caf\xC3\xA9People.dbf"));
}

} // namespace
} // namespace orv
