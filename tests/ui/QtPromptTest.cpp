#include "ui/CDialogRegistry.h"
#include "ui/CModelDialog.h"
#include "ui/CQtProgress.h"
#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(QtPromptTest, FilterStringsBecomeQtFilters) {
    EXPECT_EQ(CQtPrompt::toQtFilter("Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||"),
              "Scheduler Files (*.sch);;All Files (*)");
    EXPECT_EQ(CQtPrompt::toQtFilter("Scheduler Files (*.sch)|*.sch||"), "Scheduler Files (*.sch)");
    EXPECT_EQ(CQtPrompt::toQtFilter("ORV Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||"),
              "ORV Scheduler Files (*.sch);;All Files (*)");
    EXPECT_EQ(CQtPrompt::toQtFilter("Tables|*.dbf;*.cdx||"), "Tables (*.dbf *.cdx)");
    EXPECT_EQ(CQtPrompt::toQtFilter(""), "");
}

TEST(QtPromptTest, TextsAreConvertedFromAndToWindows1252) {
    EXPECT_EQ(CQtPrompt::toQt("Caf\xE9 \x80"), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(CQtPrompt::toStored(QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC")), "Caf\xE9 \x80");
}

// The one test that drives a real message box: it polls for the box and answers it.
TEST(QtPromptTest, MessageShowsTheExactTextTitleAndIcon) {
    CQtPrompt prompt;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        } else if (waited.elapsed() > 20000) {
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        }
    });
    poll.start(20);
    prompt.message("Caf\xE9 is closed", "Error", PromptIcon::error);
    poll.stop();
    EXPECT_EQ(text, QString::fromUtf8("Caf\xC3\xA9 is closed"));
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(icon, QMessageBox::Critical);
}

class CTestModel : public CDialogModel {
public:
    const char* id() const override { return "TestModel"; }
    bool onOk(CUserPrompt&) override { return ++oks >= 2; }
    int oks = 0;
    QString typed;
};

class CTestDlg : public CModelDialog {
public:
    CTestDlg(CTestModel& model, CUserPrompt& prompt, QWidget* parent)
        : CModelDialog(model, prompt, parent), m_model(model) {
        // Pressing OK at once: the model refuses the first OK and takes the second.
        QTimer::singleShot(0, this, [this] {
            accept();
            EXPECT_TRUE(isVisible());
            accept();
        });
    }

protected:
    void takeValues() override { m_model.typed = QStringLiteral("taken"); }

private:
    CTestModel& m_model;
};

TEST(QtPromptTest, RunDialogShowsTheRegisteredDialogOfTheModel) {
    registerDialog<CTestModel, CTestDlg>("TestModel");
    CQtPrompt prompt;
    CTestModel model;
    EXPECT_TRUE(prompt.runDialog(model));
    EXPECT_EQ(model.oks, 2);
    EXPECT_EQ(model.typed, "taken");
    CDialogRegistry::remove("TestModel");
    EXPECT_FALSE(prompt.runDialog(model));
}

TEST(QtPromptTest, WaitCursorIsBalanced) {
    CQtPrompt prompt;
    prompt.waitCursor(true);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    prompt.waitCursor(false);
    prompt.waitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Short work shows nothing; work past half a second shows its label, with Cancel only where the
// work may stop halfway.
TEST(QtPromptTest, ProgressAppearsAfterHalfASecondWithCancelOnlyWhereOffered) {
    CQtPrompt prompt;
    // Work that reports itself nearly done: the dialog would also show early for work whose
    // pace promises more than half a second in all.
    auto steps = [](CProgress& p, int ms) {
        QElapsedTimer t;
        t.start();
        bool going = true;
        while (going && t.elapsed() < ms) {
            going = p.step(9, 10);
            QTest::qWait(5);
        }
        return going;
    };
    for (bool cancellable : {false, true}) {
        QElapsedTimer since;
        since.start();
        auto progress = prompt.progress("Caf\xE9 work", cancellable);
        QProgressDialog& dialog = dynamic_cast<CQtProgress&>(*progress).dialog();
        steps(*progress, 150);
        // A machine busy with other work may have let the half second pass meanwhile.
        if (since.elapsed() < 450) {
            EXPECT_FALSE(dialog.isVisible()) << "not before half a second";
        }
        steps(*progress, 600);
        ASSERT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.labelText(), QString::fromUtf8("Caf\xC3\xA9 work"));
        EXPECT_EQ(dialog.windowTitle(), "ORV Scheduler");
        EXPECT_EQ(dialog.findChild<QPushButton*>() != nullptr, cancellable);
        if (cancellable) {
            dialog.cancel();
            EXPECT_FALSE(progress->step(5, 10)) << "Cancel stops the work";
        }
    }
}

} // namespace
} // namespace orv
