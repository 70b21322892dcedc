// File > New Group through the real dialogs: the New Group Information dialog and the file
// chooser are answered by a user who types into them, and the group's files are on disk.
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "app/CQtSettings.h"
#include "group/widgets/CGroupInfoDlg.h"
#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace orv {
namespace {

std::vector<unsigned char> bytesOf(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Answers whatever modal dialog is up: the group information first, then the file chooser.
class CUserAtTheKeyboard : public QObject {
public:
    explicit CUserAtTheKeyboard(QString file) : m_file(std::move(file)) {
        connect(&m_timer, &QTimer::timeout, this, &CUserAtTheKeyboard::look);
        m_timer.start(20);
    }
    QStringList seen;

private:
    void look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (auto* info = qobject_cast<CGroupInfoDlg*>(modal)) {
            seen << info->windowTitle();
            info->kindField()->setText(QStringLiteral("room"));
            info->descriptionField()->setText(QStringLiteral("Conference Rooms"));
            info->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
            seen << chooser->windowTitle();
            chooser->selectFile(m_file);
            QMetaObject::invokeMethod(chooser, "accept");
        }
    }
    QString m_file;
    QTimer m_timer;
};

TEST(NewGroupSmoke, CreatesTheGroupThroughTheRealDialogs) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Room.sch"));
    CQtSettings settings;
    CQtPrompt prompt;
    CORVSchedApp app(settings, prompt, prompt, CORVSchedApp::Options{0});
    ASSERT_TRUE(app.start({}));
    CUserAtTheKeyboard user(file);
    app.runCommand(Command::newGroup);

    EXPECT_EQ(user.seen, (QStringList{"New Group Information", "Select a Path and Name for the New Group File"}));
    ASSERT_EQ(app.mainFrame()->childFrames().size(), 1u);
    EXPECT_EQ(app.mainFrame()->childFrames()[0]->windowTitle(), "Conference Rooms");
    EXPECT_EQ(app.recentFiles(), QStringList{file});

    auto group = bytesOf(file);
    ASSERT_GE(group.size(), 4u);
    EXPECT_EQ(group[0] | group[1] << 8 | group[2] << 16 | group[3] << 24, 16777216);
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("RoomUpdate.bin"))).size(), 60u);
    for (const char* table : {"RoomSched", "RoomPeople", "RoomRosLnk"}) {
        auto dbf = bytesOf(dir.filePath(QString::fromLatin1(table) + ".dbf"));
        ASSERT_GE(dbf.size(), 32u) << table;
        EXPECT_EQ(dbf[0], 0x03) << table;
        EXPECT_EQ(dbf[28], 0x01) << table << " has its production index";
        EXPECT_EQ(dbf[4] | dbf[5] | dbf[6] | dbf[7], 0) << table << " has no records";
        EXPECT_EQ(dbf.back(), 0x1A) << table;
        auto cdx = bytesOf(dir.filePath(QString::fromLatin1(table) + ".cdx"));
        ASSERT_GE(cdx.size(), 1024u) << table;
        EXPECT_EQ(cdx[14], 0xE0) << table << " starts with the tag directory";
    }
    // One header per table: schedule 17 fields, people 11, roster links 10.
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("RoomSched.dbf")))[8], 32 * 17 + 33 - 512);
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("RoomPeople.dbf")))[8], 32 * 11 + 33 - 256);
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("RoomRosLnk.dbf")))[8], 32 * 10 + 33 - 256);
}

} // namespace
} // namespace orv
