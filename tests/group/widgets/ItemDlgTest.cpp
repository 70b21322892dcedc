// The item dialog over its model: titles with the kind word, labels, field limits, the name that
// cannot change on an existing item, and OK running the model's check through the prompt.
#include "common/ScriptedPrompt.h"
#include "group/CItemList.h"
#include "group/widgets/CItemDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class ItemDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        CRoom hall;
        hall.setName("Hall");
        items.append(hall);
    }
    QStringList labels(QDialog& dialog) {
        QStringList texts;
        for (QLabel* l : dialog.findChildren<QLabel*>())
            texts << l->text();
        return texts;
    }
    CItemList items;
    ScriptedPrompt prompt;
};

TEST_F(ItemDlgTest, AddingShowsEmptyEditableFieldsUnderTheirLabels) {
    CItemInfoModel model(true, items, "Room", "room");
    CItemDlg dialog(model, prompt);
    EXPECT_EQ(dialog.windowTitle(), "Add Room to Group");
    EXPECT_EQ(labels(dialog),
              (QStringList{"Name", "Occupancy", "Default Reservation Length (in minutes)",
                           "Long Description and Special Equipment"}));
    EXPECT_FALSE(dialog.nameField()->isReadOnly());
    EXPECT_EQ(dialog.nameField()->maxLength(), 20);
    EXPECT_EQ(dialog.lengthField()->maxLength(), 5);
    EXPECT_EQ(dialog.descriptionField()->maxLength(), 256);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->buttons().size(), 3);
    EXPECT_NE(buttons->button(QDialogButtonBox::Ok), nullptr);
    EXPECT_NE(buttons->button(QDialogButtonBox::Cancel), nullptr);
    EXPECT_NE(buttons->button(QDialogButtonBox::Help), nullptr);
    EXPECT_EQ(dialog.helpTopic(), "items");
}

TEST_F(ItemDlgTest, OccupancyTakesDigitsOnly) {
    CItemInfoModel model(true, items, "Room", "room");
    CItemDlg dialog(model, prompt);
    const QValidator* digits = dialog.occupancyField()->validator();
    ASSERT_NE(digits, nullptr);
    QString text = QStringLiteral("12");
    int pos = 0;
    EXPECT_EQ(digits->validate(text, pos), QValidator::Acceptable);
    text = QStringLiteral("1a");
    EXPECT_EQ(digits->validate(text, pos), QValidator::Invalid);
    text = QStringLiteral("-3");
    EXPECT_EQ(digits->validate(text, pos), QValidator::Invalid);
}

TEST_F(ItemDlgTest, ChangingFillsTheFieldsAndKeepsTheNameFixed) {
    CRoom room;
    room.setName("Studio");
    room.setOccupancy(0);
    room.setDefaultLength(90);
    room.setLongDescription("Lights");
    CItemInfoModel model(false, items, "Room", "room");
    model.fillFrom(room);
    CItemDlg dialog(model, prompt);
    EXPECT_EQ(dialog.windowTitle(), "Modify Room");
    EXPECT_EQ(dialog.nameField()->text(), "Studio");
    EXPECT_TRUE(dialog.nameField()->isReadOnly());
    EXPECT_EQ(dialog.occupancyField()->text(), "");
    EXPECT_EQ(dialog.lengthField()->text(), " 1:30");
    EXPECT_EQ(dialog.descriptionField()->text(), "Lights");
}

TEST_F(ItemDlgTest, OkWithABadLengthStaysOpenWithTheMessage) {
    CItemInfoModel model(true, items, "Room", "room");
    CItemDlg dialog(model, prompt);
    dialog.nameField()->setText(QStringLiteral("Annex"));
    dialog.lengthField()->setText(QStringLiteral("2:60"));
    dialog.show();
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{
                  error("Invalid default reservation time", "Invalid Reservation Time")});
}

TEST_F(ItemDlgTest, OkWithANameInUseStaysOpenWithTheMessage) {
    CItemInfoModel model(true, items, "Room", "room");
    CItemDlg dialog(model, prompt);
    dialog.nameField()->setText(QStringLiteral("Hall"));
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{error("A room with this name already exists", "Error")});
}

TEST_F(ItemDlgTest, OkHandsTheValuesToTheModel) {
    CItemInfoModel model(true, items, "Room", "room");
    CItemDlg dialog(model, prompt);
    dialog.nameField()->setText(QStringLiteral("Caf\u00e9"));
    dialog.occupancyField()->setText(QStringLiteral("12"));
    dialog.lengthField()->setText(QStringLiteral("45"));
    dialog.descriptionField()->setText(QStringLiteral("Espresso"));
    dialog.show();
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.name, "Caf\xE9") << "stored as Windows-1252";
    EXPECT_EQ(model.occupancy, "12");
    EXPECT_EQ(model.defaultLength, "45");
    EXPECT_EQ(model.description, "Espresso");
    EXPECT_TRUE(prompt.messages.empty());
}

} // namespace
} // namespace orv::test
