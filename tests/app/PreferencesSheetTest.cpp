#include "TestDoubles.h"
#include "app/CColorPage.h"
#include "app/CDayGlancePage.h"
#include "app/CDeleteOldRes.h"
#include "app/CPreferencesSheet.h"
#include "app/CStartupPage.h"
#include "ui/CHelpWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::CRecordingSettings;
using test::CScriptedPrompt;
using test::StoreWrite;

void typeInto(QLineEdit* field, const QString& text) {
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        QTest::keyClicks(field, text);
}

// Texts of the labels, check boxes and push buttons of a page, top to bottom.
// The texts as shown: a mnemonic's underline is not part of them.
QStringList pageTexts(QWidget* page) {
    QStringList texts;
    auto shown = [](QString text) { return text.remove(QLatin1Char('&')); };
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (auto* l = qobject_cast<QLabel*>(w)) texts << shown(l->text());
        if (auto* c = qobject_cast<QCheckBox*>(w))
            texts << QStringLiteral("[ ] ") + shown(c->text());
        if (auto* b = qobject_cast<QPushButton*>(w))
            texts << QStringLiteral("<") + shown(b->text()) + ">";
    }
    return texts;
}

class PreferencesSheetTest : public ::testing::Test {
protected:
    std::unique_ptr<CPreferencesSheet> makeSheet() {
        m_view = CViewSettings::read(m_store);
        m_store.writes.clear();
        auto sheet = std::make_unique<CPreferencesSheet>(m_view, m_store, m_prompt, m_prompt);
        sheet->show();
        return sheet;
    }
    template <class Page> Page* pageOf(CPreferencesSheet& sheet, int index) {
        auto* page = dynamic_cast<Page*>(sheet.page(index));
        EXPECT_NE(page, nullptr);
        return page;
    }

    CRecordingSettings m_store;
    CScriptedPrompt m_prompt;
    CViewSettings m_view;
};

TEST_F(PreferencesSheetTest, HasTheTenPagesInOrder) {
    auto sheet = makeSheet();
    EXPECT_EQ(sheet->windowTitle(), "Preferences");
    QStringList titles;
    for (int i = 0; i < sheet->pageList()->count(); ++i)
        titles << sheet->pageList()->item(i)->text();
    EXPECT_EQ(titles,
              (QStringList{"Reservation Settings", "Network Reservations", "Delete Reservations",
                           "Day at a Glance", "Group to Open at Startup", "Group Settings",
                           "Old Group Databases", "Item In Use Colors", "Partially Occupied Color",
                           "Item Available Color"}));
    EXPECT_EQ(sheet->okButton()->text(), "OK");
    EXPECT_EQ(sheet->cancelButton()->text(), "Cancel");
    EXPECT_EQ(sheet->applyButton()->text().remove('&'), "Apply");
    EXPECT_EQ(sheet->helpButton()->text().remove('&'), "Help");
}

TEST_F(PreferencesSheetTest, PagesShowTheirTextsAndBoxes) {
    auto sheet = makeSheet();
    EXPECT_EQ(pageTexts(sheet->page(0)),
              (QStringList{"The following are default settings that can be overriden in the "
                           "reservation dialogs.",
                           "[ ] Show notes on active reservations instead of name",
                           "[ ] Propagate attendees to all recurring reservations"}));
    EXPECT_EQ(pageTexts(sheet->page(1)),
              (QStringList{"You only need to set the following property if\n1) You are sharing "
                           "groups over a network and\n2) You keep these groups open for "
                           "extended periods of time",
                           "This setting causes some minor network overhead but insures that "
                           "your display will be updated when a reservation made by another "
                           "user becomes active.",
                           "[ ] Refresh network reservations",
                           "Set the following property only if network reservations are still "
                           "not being seen after setting the above property. Some networks "
                           "require this.",
                           "[ ] Force network buffer flush"}));
    EXPECT_EQ(pageTexts(sheet->page(2)),
              (QStringList{"Enter the number of days to keep old reservations:",
                           "[ ] Do not automatically delete old reservations",
                           "Keep the history of changes for this many days (0: always):"}));
    EXPECT_EQ(pageTexts(sheet->page(3)),
              (QStringList{"The Day at a Glance dialog can show reservations for all day or a "
                           "12 hour period. To show only 12 hours, uncheck the box and specify "
                           "a starting hour from 0 (midnight) to 12 (noon). For example, "
                           "entering 8 will show reservations from 8:00 A.M. to 8:00 P.M.",
                           "[ ] Show Reservations for All 24 Hours", "Starting Hour"}));
    EXPECT_EQ(pageTexts(sheet->page(4)),
              (QStringList{"You can choose to have a group automatically opened whenever you "
                           "start ORV Scheduler. If you do not want to automatically start a "
                           "group, leave the group name field empty and the check box "
                           "unchecked.",
                           "[ ] Reopen last group used", "- or -",
                           "Always open the following group", "<Browse>"}));
    EXPECT_EQ(pageTexts(sheet->page(5)),
              (QStringList{"To prohibit items from being added or removed from any groups, "
                           "select the checkbox below:",
                           "[ ] Lock Groups"}));
    EXPECT_EQ(pageTexts(sheet->page(6)),
              (QStringList{"Groups created before version 2.00 of ORV Scheduler may not support "
                           "some of the new program functions. You can have ORV Scheduler warn "
                           "you when opening an old group by checking the box below.",
                           "[ ] Warn when opening an old group"}));
    EXPECT_EQ(pageTexts(sheet->page(7)),
              (QStringList{"Change the color that indicates an item is reserved", "<Select Color>",
                           "<Reset to Default>"}));
    EXPECT_EQ(pageTexts(sheet->page(8)),
              (QStringList{"Change the color that indicates some (but not all) items are "
                           "reserved. This is only used by the Month at a Glance dialog.",
                           "<Select Color>", "<Reset to Default>"}));
    EXPECT_EQ(pageTexts(sheet->page(9)),
              (QStringList{"Change color for an item that is currently available", "<Select Color>",
                           "<Reset to Default>"}));
}

TEST_F(PreferencesSheetTest, CheckBoxesShowTheViewsValuesAndApplyThem) {
    m_store.writeInt("Network", "Refresh", 1);
    auto sheet = makeSheet();
    auto boxes = sheet->page(1)->findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0]->isChecked());
    EXPECT_FALSE(boxes[1]->isChecked());
    boxes[0]->click();
    sheet->okButton()->click();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(m_store.writes, (std::vector<StoreWrite>{{"Network", "Refresh", "0"}}));
    EXPECT_EQ(m_view.refresh, 0);
    EXPECT_TRUE(sheet->applied().needsRedraw());
}

TEST_F(PreferencesSheetTest, DeleteReservationsOpensWith30DaysAndTheBoxOnForMinusOne) {
    m_store.writeInt("Reservations", "DeleteOldRes", -1);
    auto sheet = makeSheet();
    auto* page = pageOf<CDeleteOldRes>(*sheet, 2);
    EXPECT_EQ(page->daysField()->text(), "30");
    EXPECT_TRUE(page->keepAllBox()->isChecked());
    EXPECT_FALSE(page->daysField()->isEnabled());
    EXPECT_FALSE(page->daysLabel()->isEnabled());
    sheet->okButton()->click();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_TRUE(m_store.writes.empty());
    EXPECT_FALSE(sheet->applied().wroteAny());
}

TEST_F(PreferencesSheetTest, DeleteReservationsStoresTheDaysOrMinusOne) {
    m_store.writeInt("Reservations", "DeleteOldRes", 20);
    auto sheet = makeSheet();
    auto* page = pageOf<CDeleteOldRes>(*sheet, 2);
    EXPECT_EQ(page->daysField()->text(), "20");
    EXPECT_FALSE(page->keepAllBox()->isChecked());
    EXPECT_TRUE(page->daysField()->isEnabled());
    sheet->pageList()->setCurrentRow(2);
    typeInto(page->daysField(), "45");
    EXPECT_TRUE(sheet->applyNow());
    EXPECT_EQ(m_store.writes, (std::vector<StoreWrite>{{"Reservations", "DeleteOldRes", "45"}}));
    page->keepAllBox()->click();
    EXPECT_FALSE(page->daysField()->isEnabled());
    EXPECT_TRUE(sheet->applyNow());
    EXPECT_EQ(m_store.writes.back(), (StoreWrite{"Reservations", "DeleteOldRes", "-1"}));
    EXPECT_EQ(m_view.deleteOldRes, -1);
    // The history Compress keeps: 365 days unless set; 0 keeps all of it.
    EXPECT_EQ(page->historyField()->text(), "365");
    typeInto(page->historyField(), "0");
    EXPECT_TRUE(sheet->applyNow());
    EXPECT_EQ(m_store.writes.back(), (StoreWrite{"History", "KeepDays", "0"}));
}

TEST_F(PreferencesSheetTest, DaysThatAreNotAnIntegerAreRefused) {
    m_store.writeInt("Reservations", "DeleteOldRes", 20);
    auto sheet = makeSheet();
    auto* page = pageOf<CDeleteOldRes>(*sheet, 2);
    sheet->pageList()->setCurrentRow(2);
    typeInto(page->daysField(), ""); // the field takes nothing but digits
    sheet->okButton()->click();
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0].text, "Enter an integer.");
    EXPECT_EQ(m_prompt.messages[0].title, "ORV Scheduler");
    EXPECT_EQ(m_prompt.messages[0].icon, PromptIcon::warning);
    EXPECT_TRUE(m_store.writes.empty());
    EXPECT_TRUE(sheet->isVisible());
}

// The number of days takes digits only: a sign typed with it does not reach the field.
struct TypedDays {
    const char* typed;
    const char* shown;
};

void PrintTo(const TypedDays& d, std::ostream* os) {
    *os << '"' << d.typed << '"';
}

class DeleteReservationsDays : public PreferencesSheetTest,
                               public ::testing::WithParamInterface<TypedDays> {};

TEST_P(DeleteReservationsDays, TakeDigitsOnly) {
    m_store.writeInt("Reservations", "DeleteOldRes", 20);
    auto sheet = makeSheet();
    auto* page = pageOf<CDeleteOldRes>(*sheet, 2);
    sheet->pageList()->setCurrentRow(2);
    typeInto(page->daysField(), QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(page->daysField()->text().toStdString(), GetParam().shown);
    EXPECT_TRUE(sheet->applyNow());
    EXPECT_EQ(m_store.writes,
              (std::vector<StoreWrite>{{"Reservations", "DeleteOldRes", GetParam().shown}}));
    EXPECT_TRUE(m_prompt.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Typed, DeleteReservationsDays,
                         ::testing::Values(TypedDays{"-5", "5"}, TypedDays{"+3", "3"},
                                           TypedDays{"12", "12"}, TypedDays{"1-2", "12"}));

TEST_F(PreferencesSheetTest, FullDayDisablesTheStartingHourWithItsArrowsAndLabel) {
    auto sheet = makeSheet();
    auto* page = pageOf<CDayGlancePage>(*sheet, 3);
    EXPECT_EQ(page->hourField()->text(), "6");
    EXPECT_TRUE(page->hourField()->isEnabled());
    page->fullDayBox()->click();
    EXPECT_FALSE(page->hourField()->isEnabled());
    EXPECT_FALSE(page->upButton()->isEnabled());
    EXPECT_FALSE(page->downButton()->isEnabled());
    EXPECT_FALSE(page->hourLabel()->isEnabled());
    page->fullDayBox()->click();
    EXPECT_TRUE(page->hourField()->isEnabled());
    EXPECT_TRUE(page->upButton()->isEnabled());
    EXPECT_TRUE(page->hourLabel()->isEnabled());
}

TEST_F(PreferencesSheetTest, TheArrowsStayWithinZeroToTwelve) {
    m_store.writeInt("DayRes", "StartHour", 11);
    auto sheet = makeSheet();
    auto* page = pageOf<CDayGlancePage>(*sheet, 3);
    page->upButton()->click();
    EXPECT_EQ(page->hourField()->text(), "12");
    page->upButton()->click();
    EXPECT_EQ(page->hourField()->text(), "12");
    typeInto(page->hourField(), "1");
    page->downButton()->click();
    page->downButton()->click();
    EXPECT_EQ(page->hourField()->text(), "0");
}

TEST_F(PreferencesSheetTest, AStartingHourThatIsNotAnIntegerIsRefused) {
    auto sheet = makeSheet();
    auto* page = pageOf<CDayGlancePage>(*sheet, 3);
    sheet->pageList()->setCurrentRow(3);
    typeInto(page->hourField(), "eight");
    sheet->okButton()->click();
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0].text, "Enter an integer.");
    EXPECT_EQ(m_prompt.messages[0].title, "ORV Scheduler");
    EXPECT_EQ(m_prompt.messages[0].icon, PromptIcon::warning);
    EXPECT_EQ(sheet->focusWidget(), page->hourField());
}

TEST_F(PreferencesSheetTest, AStartingHourOutsideZeroToTwelveIsRefusedAndKeepsTheFocus) {
    auto sheet = makeSheet();
    auto* page = pageOf<CDayGlancePage>(*sheet, 3);
    sheet->pageList()->setCurrentRow(3);
    typeInto(page->hourField(), "13");
    // Leaving the page checks it; the page stays.
    sheet->pageList()->setCurrentRow(4);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0].text, "Enter an integer between 0 and 12.");
    EXPECT_EQ(m_prompt.messages[0].title, "ORV Scheduler");
    EXPECT_EQ(m_prompt.messages[0].icon, PromptIcon::warning);
    EXPECT_EQ(sheet->pageList()->currentRow(), 3);
    EXPECT_EQ(sheet->focusWidget(), page->hourField());
    EXPECT_FALSE(sheet->applyNow());
    EXPECT_EQ(m_prompt.messages.size(), 2u);
    EXPECT_TRUE(m_store.writes.empty());
    typeInto(page->hourField(), "12");
    EXPECT_TRUE(sheet->applyNow());
    EXPECT_EQ(m_store.writes, (std::vector<StoreWrite>{{"DayRes", "StartHour", "12"}}));
}

TEST_F(PreferencesSheetTest, ReopenLastGroupEmptiesAndDisablesThePath) {
    m_store.writeText("Startup", "Group", std::string("/groups/Rooms.sch"));
    auto sheet = makeSheet();
    auto* page = pageOf<CStartupPage>(*sheet, 4);
    EXPECT_EQ(page->pathField()->text(), "/groups/Rooms.sch");
    EXPECT_FALSE(page->reopenLastBox()->isChecked());
    page->reopenLastBox()->click();
    EXPECT_EQ(page->pathField()->text(), "");
    EXPECT_FALSE(page->pathField()->isEnabled());
    EXPECT_FALSE(page->browseButton()->isEnabled());
    EXPECT_TRUE(sheet->applyNow());
    EXPECT_EQ(m_store.writes, (std::vector<StoreWrite>{{"Startup", "UseLastGroup", "1"},
                                                       {"Startup", "Group", std::string()}}));
}

TEST_F(PreferencesSheetTest, ReopenLastGroupOnAtOpeningKeepsThePathShownButDisabled) {
    m_store.writeInt("Startup", "UseLastGroup", 1);
    m_store.writeText("Startup", "Group", std::string("/groups/Last.sch"));
    auto sheet = makeSheet();
    auto* page = pageOf<CStartupPage>(*sheet, 4);
    EXPECT_TRUE(page->reopenLastBox()->isChecked());
    EXPECT_EQ(page->pathField()->text(), "/groups/Last.sch");
    EXPECT_FALSE(page->pathField()->isEnabled());
    sheet->okButton()->click();
    EXPECT_TRUE(m_store.writes.empty());
}

TEST_F(PreferencesSheetTest, BrowseAsksForAnExistingGroupFile) {
    m_prompt.files.push_back(std::string("/groups/Cars.sch"));
    auto sheet = makeSheet();
    auto* page = pageOf<CStartupPage>(*sheet, 4);
    page->browseButton()->click();
    ASSERT_EQ(m_prompt.choices.size(), 1u);
    EXPECT_EQ(m_prompt.choices[0].title, "Select a Group to Open at Startup");
    EXPECT_EQ(m_prompt.choices[0].filter, "Scheduler Files (*.sch)|*.sch||");
    EXPECT_EQ(m_prompt.choices[0].defaultExtension, "sch");
    EXPECT_TRUE(m_prompt.choices[0].mustExist);
    EXPECT_EQ(page->pathField()->text(), "/groups/Cars.sch");
    EXPECT_TRUE(sheet->applyButton()->isEnabled());
    sheet->okButton()->click();
    EXPECT_EQ(m_store.writes,
              (std::vector<StoreWrite>{{"Startup", "Group", std::string("/groups/Cars.sch")}}));
}

TEST_F(PreferencesSheetTest, ResetToDefaultOnItemAvailableStores65408OnApply) {
    auto sheet = makeSheet();
    auto* page = pageOf<CColorPage>(*sheet, 9);
    EXPECT_EQ(page->color(), 38600);
    page->resetButton()->click();
    EXPECT_EQ(page->color(), 65408);
    EXPECT_TRUE(m_store.writes.empty());
    sheet->okButton()->click();
    EXPECT_EQ(m_store.writes, (std::vector<StoreWrite>{{"Colors", "Unoccupied", "65408"}}));
    EXPECT_EQ(m_view.unoccupied, 65408);
}

TEST_F(PreferencesSheetTest, ResetToDefaultSetsRedAndYellowOnTheOtherColourPages) {
    m_store.writeInt("Colors", "Occupied", 0x010203);
    m_store.writeInt("Colors", "Partially Occupied", 0x040506);
    auto sheet = makeSheet();
    pageOf<CColorPage>(*sheet, 7)->resetButton()->click();
    pageOf<CColorPage>(*sheet, 8)->resetButton()->click();
    sheet->okButton()->click();
    EXPECT_EQ(m_store.writes, (std::vector<StoreWrite>{{"Colors", "Occupied", "255"},
                                                       {"Colors", "Partially Occupied", "65535"}}));
}

TEST_F(PreferencesSheetTest, AChosenColourStaysStoredWhenTheSheetIsCancelled) {
    m_prompt.colors.push_back(0x00AABBCC);
    auto sheet = makeSheet();
    auto* page = pageOf<CColorPage>(*sheet, 7);
    page->selectButton()->click();
    ASSERT_EQ(m_prompt.colorPresets.size(), 1u);
    EXPECT_EQ(m_prompt.colorPresets[0], 255);
    EXPECT_EQ(m_store.writes,
              (std::vector<StoreWrite>{{"Colors", "Occupied", std::to_string(0x00AABBCC)}}));
    sheet->cancelButton()->click();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(m_store.readInt("Colors", "Occupied", -1), 0x00AABBCC);
    EXPECT_EQ(m_view.occupied, 255);
    EXPECT_EQ(m_store.writes.size(), 1u);
}

TEST_F(PreferencesSheetTest, ACancelledColourChooserChangesNothing) {
    m_prompt.colors.push_back(std::nullopt);
    auto sheet = makeSheet();
    auto* page = pageOf<CColorPage>(*sheet, 9);
    page->selectButton()->click();
    EXPECT_EQ(page->color(), 38600);
    EXPECT_TRUE(m_store.writes.empty());
    EXPECT_FALSE(sheet->applyButton()->isEnabled());
}

TEST_F(PreferencesSheetTest, EveryChangeEnablesApplyAndApplyKeepsTheSheetOpen) {
    auto sheet = makeSheet();
    QSignalSpy applied(sheet.get(), &CPreferencesSheet::settingsApplied);
    EXPECT_FALSE(sheet->applyButton()->isEnabled());
    sheet->page(5)->findChild<QCheckBox*>()->click();
    EXPECT_TRUE(sheet->applyButton()->isEnabled());
    sheet->applyButton()->click();
    EXPECT_FALSE(sheet->applyButton()->isEnabled());
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(m_store.writes, (std::vector<StoreWrite>{{"Groups", "Lock", "1"}}));
    EXPECT_EQ(m_view.lock, 1);
    // OK after Apply writes nothing more.
    sheet->okButton()->click();
    EXPECT_EQ(m_store.writes.size(), 1u);
    EXPECT_TRUE(sheet->applied().wrote(CApplyResult::lock));
}

TEST_F(PreferencesSheetTest, HelpOpensTheTopicOfTheCurrentPage) {
    auto sheet = makeSheet();
    sheet->pageList()->setCurrentRow(4);
    sheet->helpButton()->click();
    ASSERT_NE(CHelpWindow::existing(), nullptr);
    EXPECT_EQ(CHelpWindow::existing()->currentTopic(), "pref_startup_group");
    EXPECT_TRUE(CHelpWindow::existing()->isVisible());
    CHelpWindow::existing()->close();
}

} // namespace
} // namespace orv
