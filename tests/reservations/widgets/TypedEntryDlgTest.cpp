// Dates and times typed into the dialogs' pickers with real key events: what the dialog then
// hands to its model, or a visible refusal that keeps OK from taking any other value.
#include "app/ViewTestSupport.h"

#include "reservations/widgets/CAddReservationDlg.h"
#include "reservations/widgets/CRoomInfoDlg.h"
#include "ui/CQtDates.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <functional>

namespace orv::test {
namespace {

struct TypedCase {
    const char* field; // "date", "start": Make Reservation; "day": the day list's date
    const char* typed;
    const char* taken; // what the model gets; empty: the field refuses the text
};

void PrintTo(const TypedCase& c, std::ostream* os) {
    *os << c.field << " \"" << c.typed << "\"";
}

const TypedCase kTypedCases[] = {
    {"date", "12/09/2026", "2026-12-09"},
    {"date", "12092026", "2026-12-09"},
    {"date", "1/9/2026", "2026-01-09"},
    {"date", "Dec 9, 2026", "2026-12-09"},
    {"date", "13/45/2026", ""},
    {"date", "02/30/2026", ""},
    {"date", "12/09/26", ""},
    {"start", "2:30p", "14:30"},
    {"start", "02:30 PM", "14:30"},
    {"start", "0230p", "14:30"},
    {"start", "1430", "14:30"},
    {"start", "9:05 am", "09:05"},
    {"start", "12:15a", "00:15"},
    {"start", "25:00", ""},
    {"start", "2:3", ""},
    {"start", "2:30 x", ""},
    {"day", "12/09/2026", "2026-12-09"},
    {"day", "Friday, December 11, 2026", "2026-12-11"},
    // The weekday follows from the date: a stale one left from editing the shown date is
    // passed over.
    {"day", "Tuesday, December 10, 2026", "2026-12-10"},
    {"day", "12/32/2026", ""},
};

class TypedEntry : public ViewFixture, public ::testing::WithParamInterface<TypedCase> {};

QString isoDate(const CDate& d) {
    return toQDate(d).toString(Qt::ISODate);
}

TEST_P(TypedEntry, TheModelGetsTheTypedValueOrTheFieldRefusesItAndOkWaits) {
    const TypedCase& c = GetParam();
    const QString field = QString::fromLatin1(c.field);
    addItems({{"Boardroom", ""}});
    doc = openDoc();
    CItemDayModel day(*doc, 0);
    CAddReservation add(*doc, "Boardroom", {2026, 12, 8}, 30, day);

    std::unique_ptr<CModelDialog> dialog;
    QAbstractSpinBox* picker = nullptr;
    QAbstractButton* ok = nullptr;
    std::function<QString()> taken;
    if (field == QLatin1String("day")) {
        auto* list = new CRoomInfoDlg(day, prompt);
        dialog.reset(list);
        picker = list->datePicker();
        ok = list->button(QStringLiteral("Finished"));
        taken = [&] { return isoDate(day.date()); };
    } else {
        auto* make = new CAddReservationDlg(add, prompt);
        dialog.reset(make);
        ok = make->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        if (field == QLatin1String("date")) {
            picker = make->datePicker();
            taken = [&] { return isoDate(add.date); };
        } else {
            picker = make->startPicker();
            taken = [&] {
                return QTime(add.startHour(), add.startMinute()).toString(QStringLiteral("hh:mm"));
            };
        }
    }
    const QString before = taken();
    const QColor normal = picker->palette().color(QPalette::Base);
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    picker->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(picker->hasFocus());

    QTest::keyClicks(picker, QString::fromLatin1(c.typed));
    QTest::keyClick(picker, Qt::Key_Tab);
    EXPECT_FALSE(picker->hasFocus()) << "Tab leaves the field";
    QTest::mouseClick(ok, Qt::LeftButton);

    if (*c.taken) {
        EXPECT_EQ(taken(), QString::fromLatin1(c.taken));
        EXPECT_FALSE(picker->property("refused").toBool());
        if (field == QLatin1String("day"))
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
        else // OK reached the reservation's own checks
            EXPECT_EQ(prompt.messages,
                      (std::vector<RecordedMessage>{
                          error(CAddReservation::kNoPerson, CAddReservation::kNoPersonTitle)}));
        return;
    }
    EXPECT_EQ(picker->text(), QString::fromLatin1(c.typed)) << "the typed text stays";
    EXPECT_TRUE(picker->property("refused").toBool());
    EXPECT_NE(picker->palette().color(QPalette::Base), normal) << "and shows it is refused";
    EXPECT_TRUE(picker->hasFocus()) << "OK sends the user back to the field";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(prompt.messages.empty()) << "OK went no further";
    EXPECT_EQ(taken(), before);
}

INSTANTIATE_TEST_SUITE_P(Typed, TypedEntry, ::testing::ValuesIn(kTypedCases));

} // namespace
} // namespace orv::test
