#include "ui/CQtDates.h"

#include "ui/CTypedDateTimeEdit.h"

#include <QApplication>

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
