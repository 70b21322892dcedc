// The dialogs of merging and importing over their models: titles, texts, buttons, and the
// selection the import dialog hands back.
#include "common/ScriptedPrompt.h"
#include "group/widgets/CMergeInfoDlg.h"
#include "group/widgets/CMergeWarningsDlg.h"
#include "people/widgets/CImportPeopleDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

QStringList texts(QDialog& dialog) {
    QStringList all;
    for (QAbstractButton* b : dialog.findChild<QDialogButtonBox*>()->buttons())
        all << b->text();
    all.sort();
    for (QLabel* l : dialog.findChildren<QLabel*>())
        all << l->text();
    for (QListWidget* l : dialog.findChildren<QListWidget*>())
        for (int i = 0; i < l->count(); ++i)
            all << l->item(i)->text();
    return all << dialog.windowTitle();
}

TEST(MergeImportDlgTest, ImportHandsBackTheSelectedLines) {
    ScriptedPrompt prompt;
    CImportPeopleModel model(true);
    for (long r : {3L, 1L})
        model.addLine({"Line " + std::to_string(r), r, {}});
    CImportPeopleDlg dialog(model, prompt);
    EXPECT_EQ(texts(dialog), (QStringList{"Cancel", "Help", "OK", "Select All", "Unselect All",
                                          "Select people to import ", "Line 3", "Line 1",
                                          "Import Attendees from Another Group"}));
    dialog.selectAllButton()->click();
    dialog.accept();
    EXPECT_EQ(model.selected, (std::set<int>{0, 1}));
    dialog.unselectAllButton()->click();
    dialog.list()->item(1)->setSelected(true);
    dialog.accept();
    EXPECT_EQ(model.selected, (std::set<int>{1}));
}

TEST(MergeImportDlgTest, MergeDialogsShowTheirTextsAndButtons) {
    ScriptedPrompt prompt;
    CMergeInfoModel info("Rooms");
    CMergeInfoDlg infoDialog(info, prompt);
    EXPECT_EQ(texts(infoDialog),
              (QStringList{"Cancel", "Select Group", CMergeInfoModel::kWarning,
                           CMergeInfoModel::kCriterion1, CMergeInfoModel::kCriterion2,
                           CMergeInfoModel::kCriterion3, "Merge Another Group Into Rooms"}));
    infoDialog.selectGroupButton()->click();
    EXPECT_EQ(infoDialog.result(), QDialog::Accepted);
    CMergeWarningsModel warnings({"first"});
    CMergeWarningsDlg warningsDialog(warnings, prompt);
    EXPECT_EQ(texts(warningsDialog),
              (QStringList{"OK", "Print", "first", "Merge Warnings and Errors"}));
}

} // namespace
} // namespace orv::test
