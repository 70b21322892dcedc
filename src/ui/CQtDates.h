#pragma once
// Calendar dates between the logic and Qt's date pickers, and the one way every dialog makes its
// date and time pickers: in English (US) whatever the locale, so that "AM"/"PM" read the same
// everywhere, taking a whole date or time typed in the shown form (CTypedDateTimeEdit).

#include "tables/CDate.h"

#include <QDate>
#include <QString>

class QDateEdit;
class QTimeEdit;
class QWidget;

namespace orv {

inline QDate toQDate(const CDate& d) {
    return QDate(d.year, d.month, d.day);
}
inline CDate fromQDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

// A date in `format` ("MM/dd/yyyy" unless given), with a calendar to pick from.
QDateEdit* datePickerQt(const CDate& date, const char* name, QWidget* parent,
                        const QString& format = QStringLiteral("MM/dd/yyyy"));
// A time of day in `format` ("hh':'mm AP", or "hh AP" for whole hours).
QTimeEdit* timePickerQt(int hour, int minute, const QString& format, const char* name,
                        QWidget* parent);

// Before a dialog acts on its pickers' values: every picker of `dialog` takes the text typed
// into it. False when one holds text it cannot read; that one is marked and has the focus,
// and its value is still the one it had.
bool takeTypedEntriesQt(QWidget* dialog);

} // namespace orv
