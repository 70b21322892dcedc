// Stored text is single-byte: a typed character the tables cannot hold is refused with a message
// that names it, and nothing is stored in its place (it used to become '?' without a word).
#include "common/GroupFixture.h"
#include "group/widgets/CItemDlg.h"
#include "people/CPersonModel.h"
#include "people/widgets/CAddPersonDlg.h"

#include <QLineEdit>

namespace orv::test {
namespace {

class UnstorableText : public GroupFixture {};

TEST_F(UnstorableText, ADialogRefusesTextItCannotStoreAndNamesTheCharacters) {
    // A person: OK is refused, the dialog stays open, the table is left as it was.
    CPersonModel person(doc->people(), CPersonModel::Mode::Add, true, false);
    CAddPersonDlg personDialog(person, prompt);
    personDialog.field("First Name")->setText(QString::fromUtf8("太郎"));
    personDialog.field("Last Name")->setText(QString::fromUtf8("東京"));
    personDialog.accept();
    EXPECT_EQ(personDialog.result(), QDialog::Rejected);
    EXPECT_EQ(
        prompt.messages,
        (std::vector<RecordedMessage>{error(
            "First Name holds characters that cannot be stored: U+592A, U+90CE.", kAppTitle)}));
    EXPECT_EQ(doc->people().first(), res4eof);

    // What can be stored goes through, accented letters and the euro sign included.
    prompt.messages.clear();
    personDialog.field("First Name")->setText(QString::fromUtf8("Zoë"));
    personDialog.field("Last Name")->setText(QString::fromUtf8("Müller €"));
    personDialog.accept();
    EXPECT_EQ(prompt.messages, std::vector<RecordedMessage>{});
    ASSERT_EQ(doc->people().first(), 0);
    EXPECT_EQ(doc->people().image().lastName(), "M\xFCller \x80");

    // An item name: the same refusal, the item list unchanged.
    prompt.messages.clear();
    CItemInfoModel item(true, doc->items(), "Room", "room");
    CItemDlg itemDialog(item, prompt);
    itemDialog.nameField()->setText(QString::fromUtf8("Hall ☃"));
    itemDialog.accept();
    EXPECT_EQ(itemDialog.result(), QDialog::Rejected);
    EXPECT_EQ(prompt.messages,
              (std::vector<RecordedMessage>{
                  error("Name holds characters that cannot be stored: U+2603.", kAppTitle)}));
    EXPECT_EQ(doc->items().count(), 0);
}

} // namespace
} // namespace orv::test
