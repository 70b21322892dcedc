#include "ui/CQtDates.h"

#include "ui/CTypedDateTimeEdit.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>

namespace orv {

namespace {

template <class Edit> Edit* setUp(Edit* picker, const char* name, const QString& format) {
    if (name) picker->setObjectName(QString::fromLatin1(name));
    picker->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    picker->setDisplayFormat(format);
    return picker;
}

} // namespace

QDateEdit* datePickerQt(const CDate& date, const char* name, QWidget* parent,
                        const QString& format) {
    auto* picker = setUp(new CTypedDateTimeEdit<QDateEdit>(parent), name, format);
    picker->setDate(toQDate(date));
    picker->setCalendarPopup(true);
    // The field's own size hint measures its earliest and latest dates only; a date with a
    // longer weekday or month name ("Wednesday, September 27") would be cut.
    const QFontMetrics fm(picker->font());
    const QLocale locale = picker->locale();
    auto widthOf = [&](const QDate& d) { return fm.horizontalAdvance(locale.toString(d, format)); };
    const int measured = std::max(widthOf(picker->minimumDate()), widthOf(picker->maximumDate()));
    int widest = 0;
    for (QDate d(2027, 1, 1); d.year() == 2027; d = d.addDays(1))
        widest = std::max(widest, widthOf(d));
    if (widest > measured) picker->setMinimumWidth(picker->sizeHint().width() + widest - measured);
    return picker;
}

QTimeEdit* timePickerQt(int hour, int minute, const QString& format, const char* name,
                        QWidget* parent) {
    auto* picker = setUp(new CTypedDateTimeEdit<QTimeEdit>(parent), name, format);
    picker->setTime(QTime(hour, minute));
    return picker;
}

bool takeTypedEntriesQt(QWidget* dialog) {
    for (QAbstractSpinBox* field : dialog->findChildren<QAbstractSpinBox*>()) {
        if (field->hasAcceptableInput()) {
            field->interpretText();
            continue;
        }
        if (!field->isEnabled()) continue; // its value is not used
        markRefusedQt(field, true);
        field->setFocus(Qt::OtherFocusReason);
        QApplication::beep();
        return false;
    }
    return true;
}

} // namespace orv
