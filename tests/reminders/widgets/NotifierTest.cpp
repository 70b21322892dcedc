// A reminder from the group window reaches a real notification service on a private session bus
// with its text and actions, once; "Open day list" invoked from the bus opens the day list.
#include "app/ViewTestSupport.h"
#include "reminders/CReminders.h"
#include "reservations/CItemDayModel.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>

namespace orv::test {
namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";

// Takes the Notify calls and answers each with a new id.
class RecordingService : public QDBusVirtualObject {
public:
    struct Call {
        QString summary, body;
        QStringList actions;
    };
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Notify")) return false;
        const QList<QVariant> args = message.arguments();
        calls.push_back({args.value(3).toString(), args.value(4).toString(),
                         args.value(5).toStringList()});
        connection.send(message.createReply(QVariant::fromValue(uint(calls.size()))));
        return true;
    }
    QString introspect(const QString&) const override { return {}; }
    std::vector<Call> calls;
};

class Notifier : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        // A bus of this test's own, before anything of the program connects to a session bus.
        bus.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
        ASSERT_TRUE(bus.waitForStarted(5000)) << "dbus-daemon is needed";
        ASSERT_TRUE(bus.waitForReadyRead(5000));
        address = QString::fromLatin1(bus.readLine()).trimmed();
        ASSERT_FALSE(address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toLatin1());
        service = QDBusConnection::connectToBus(address, QStringLiteral("recording-service"));
        ASSERT_TRUE(service.isConnected());
        ASSERT_TRUE(service.registerService(QString::fromLatin1(kService)));
        ASSERT_TRUE(service.registerVirtualObject(QString::fromLatin1(kPath), &recorder));
    }
    void TearDown() override {
        ViewFixture::TearDown();
        service.unregisterObject(QString::fromLatin1(kPath));
        QDBusConnection::disconnectFromBus(QStringLiteral("recording-service"));
        bus.kill();
        bus.waitForFinished(2000);
    }
    QProcess bus;
    QString address;
    QDBusConnection service{QString()};
    RecordingService recorder;
};

TEST_F(Notifier, AReminderReachesTheServiceOnceAndItsActionOpensTheDayList) {
    addNumberedItems(2);
    reserve("Room 2", 8, 10, 10, 11, 0, "Smith");
    CORVSchedView& v = showView();
    CReminders(*doc).setChoice(CPeopleKey("Pat", "", "Smith", ""), true, 15);

    v.timerTick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.calls.empty(); }, 5000));
    const RecordingService::Call& call = recorder.calls.front();
    EXPECT_EQ(call.summary, QStringLiteral("Room 2 at 10:10 AM until 11:00 AM"));
    EXPECT_EQ(call.body, QString());
    EXPECT_EQ(call.actions, (QStringList{"open-day-list", "Open day list", "default",
                                         "Open day list", "dismiss", "Dismiss"}));
    clock.setLocal(2026, 12, 8, 10, 1, 0);
    v.timerTick();
    QTest::qWait(200);
    EXPECT_EQ(recorder.calls.size(), 1u) << "once";

    std::string item, date;
    prompt.dialogSteps.push_back([&](CDialogModel& model) {
        auto& dayList = dynamic_cast<CItemDayModel&>(model);
        item = dayList.itemName();
        date = dayList.date().key();
        return false;
    });
    QDBusMessage invoked = QDBusMessage::createSignal(
        QString::fromLatin1(kPath), QString::fromLatin1(kService), QStringLiteral("ActionInvoked"));
    invoked << uint(1) << QStringLiteral("open-day-list");
    ASSERT_TRUE(service.send(invoked));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompt.dialogsShown.empty(); }, 5000));
    EXPECT_EQ(prompt.dialogsShown, std::vector<std::string>{CItemDayModel::kId});
    EXPECT_EQ(item, "Room 2");
    EXPECT_EQ(date, "20261208");
}

} // namespace
} // namespace orv::test
