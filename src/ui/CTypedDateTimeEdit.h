#pragma once
// A date or a time picker that takes a whole entry typed in its shown form. Qt's own pickers
// edit one section at a time: a typed separator jumps to the next section, so "12/09/2026"
// typed in one go shows "12/08/0000", and leaving the field puts the old date back without a
// word. This one reads what was typed when the user leaves the field or presses Enter:
//
//   dates  "12/09/2026", "12092026", "1/9/2026", "December 9, 2026" (weekday names are passed
//          over, the field shows the right one afterwards); the year has all four digits
//   times  "2:30p", "02:30 PM", "0230p", "1430" (no AM/PM: the 24-hour clock)
//
// Text it cannot read stays in the field, marked, and the value stays what it was; the dialog
// refuses OK while a field holds such text (takeTypedEntriesQt). Arrows, the wheel and the
// calendar still work section by section.
//
// Made through datePickerQt and timePickerQt (app/CQtDates.h).

#include <QDateEdit>
#include <QTimeEdit>
#include <QValidator>

namespace orv {

// What an entry typed into a picker showing `sections` means. Acceptable: `value` holds it
// (the date or the time replaced in `current`); Intermediate: not (yet) a date or time.
struct CTypedEntry {
    QValidator::State state = QValidator::Intermediate;
    QDateTime value;

    static CTypedEntry read(const QString& text, QDateTimeEdit::Sections sections,
                            const QLocale& locale, const QDateTime& current);
};

template <class Edit> class CTypedDateTimeEdit : public Edit {
public:
    explicit CTypedDateTimeEdit(QWidget* parent);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    CTypedEntry entry(const QString& text) const;
    // The field holds typed text, not its value's shown form.
    bool typing() const;
    bool readable() const;
};

extern template class CTypedDateTimeEdit<QDateEdit>;
extern template class CTypedDateTimeEdit<QTimeEdit>;

// Shows whether a field holds text it refused.
void markRefusedQt(QWidget* field, bool refused);

} // namespace orv
