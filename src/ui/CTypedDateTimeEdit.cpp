#include "ui/CTypedDateTimeEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace orv {

namespace {

// Longer text is no date or time of any of our forms; refusing it keeps the field short.
constexpr qsizetype kLongestEntry = 40;

// The digit runs and the letter runs of a typed entry; anything else separates them.
struct Runs {
    QStringList numbers;
    QStringList words; // lower case
};

Runs runsOf(const QString& text) {
    Runs runs;
    QString run;
    int kind = 0; // 1 digits, 2 letters
    auto endRun = [&] {
        if (kind == 1) runs.numbers << run;
        if (kind == 2) runs.words << run.toLower();
        run.clear();
        kind = 0;
    };
    for (const QChar c : text) {
        const int k = c >= QLatin1Char('0') && c <= QLatin1Char('9') ? 1 : c.isLetter() ? 2 : 0;
        if (k != kind) endRun();
        kind = k;
        if (k) run += c;
    }
    endRun();
    return runs;
}

// A word names a month or a weekday when it starts that name with at least three letters.
bool starts(const QString& word, const QString& name) {
    return word.size() >= 3 && name.toLower().startsWith(word);
}

CTypedEntry readDate(const Runs& runs, QDateTimeEdit::Sections sections, const QLocale& locale,
                     const QDateTime& current) {
    const CTypedEntry unread{QValidator::Intermediate, current};
    int month = 0;
    for (const QString& word : runs.words) {
        bool known = false;
        for (int m = 1; m <= 12; ++m) {
            if (!starts(word, locale.monthName(m, QLocale::LongFormat))) continue;
            if (month) return unread;
            month = m;
            known = true;
        }
        // The weekday follows from the date: the field shows the right one afterwards.
        for (int d = 1; d <= 7 && !known; ++d)
            known = starts(word, locale.dayName(d, QLocale::LongFormat));
        if (!known) return unread;
    }
    const bool hasMonth = sections.testFlag(QDateTimeEdit::MonthSection);
    const bool hasDay = sections.testFlag(QDateTimeEdit::DaySection);
    if (!sections.testFlag(QDateTimeEdit::YearSection)) return unread;
    // In the shown order: month, day, year.
    const int wanted = (hasMonth && !month ? 1 : 0) + (hasDay ? 1 : 0) + 1;
    QStringList parts = runs.numbers;
    if (parts.size() == 1 && wanted > 1) {
        // Digits without separators: two for each of month and day, four for the year.
        const QString digits = parts.front();
        if (digits.size() != 2 * (wanted - 1) + 4) return unread;
        parts.clear();
        for (int i = 0; i < wanted - 1; ++i)
            parts << digits.mid(2 * i, 2);
        parts << digits.right(4);
    }
    if (parts.size() != wanted) return unread;
    int next = 0;
    if (hasMonth && !month) {
        if (parts[next].size() > 2) return unread;
        month = parts[next++].toInt();
    }
    if (!month) month = current.date().month();
    int day = 1;
    if (hasDay) {
        if (parts[next].size() > 2) return unread;
        day = parts[next++].toInt();
    }
    if (parts[next].size() != 4) return unread;
    const int year = parts[next].toInt();
    if (!hasDay && month >= 1 && month <= 12)
        day = std::min(current.date().day(), QDate(year, month, 1).daysInMonth());
    const QDate date(year, month, day);
    if (!date.isValid()) return unread;
    // The picker's own time spec stays: a value made in local time would be moved by the zone's
    // offset where the picker keeps UTC.
    QDateTime value = current;
    value.setDate(date);
    return {QValidator::Acceptable, value};
}

CTypedEntry readTime(const Runs& runs, QDateTimeEdit::Sections sections, const QDateTime& current) {
    const CTypedEntry unread{QValidator::Intermediate, current};
    enum { none, am, pm } marker = none;
    if (runs.words.size() > 1) return unread;
    if (!runs.words.isEmpty()) {
        const QString& word = runs.words.front();
        if (word == QLatin1String("a") || word == QLatin1String("am"))
            marker = am;
        else if (word == QLatin1String("p") || word == QLatin1String("pm"))
            marker = pm;
        else
            return unread;
    }
    int hour = 0;
    int minute = 0;
    if (runs.numbers.size() == 1) {
        // "2", "14", "230", "1430": the last two of three or four digits are the minutes.
        const QString& digits = runs.numbers.front();
        if (digits.size() > 4) return unread;
        const qsizetype hourDigits = digits.size() <= 2 ? digits.size() : digits.size() - 2;
        hour = digits.left(hourDigits).toInt();
        minute = digits.mid(hourDigits).toInt();
    } else if (runs.numbers.size() == 2) {
        if (runs.numbers[0].size() > 2 || runs.numbers[1].size() != 2) return unread;
        hour = runs.numbers[0].toInt();
        minute = runs.numbers[1].toInt();
    } else {
        return unread;
    }
    if (marker != none) {
        if (hour > 12 || (hour == 0 && marker == pm)) return unread;
        if (hour == 12) hour = 0;
        if (marker == pm) hour += 12;
    }
    if (hour > 23 || minute > 59) return unread;
    if (!sections.testFlag(QDateTimeEdit::MinuteSection) && minute != 0) return unread;
    QDateTime value = current;
    value.setTime(QTime(hour, minute));
    return {QValidator::Acceptable, value};
}

} // namespace

CTypedEntry CTypedEntry::read(const QString& text, QDateTimeEdit::Sections sections,
                              const QLocale& locale, const QDateTime& current) {
    if (text.size() > kLongestEntry) return {QValidator::Invalid, current};
    const Runs runs = runsOf(text);
    if (sections & QDateTimeEdit::TimeSections_Mask) return readTime(runs, sections, current);
    return readDate(runs, sections, locale, current);
}

void markRefusedQt(QWidget* field, bool refused) {
    if (field->property("refused").toBool() == refused) return;
    field->setProperty("refused", refused);
    QPalette palette; // nothing of its own: the field's usual colours
    if (refused) {
        palette = field->palette();
        palette.setColor(QPalette::Base, QColor(255, 205, 205));
        palette.setColor(QPalette::Text, QColor(160, 0, 0));
    }
    field->setPalette(palette);
}

template <class Edit> CTypedDateTimeEdit<Edit>::CTypedDateTimeEdit(QWidget* parent) : Edit(parent) {
    // The value follows the text only when the entry is complete (leaving, Enter, arrows):
    // a half-typed time would otherwise pass through other values on its way.
    this->setKeyboardTracking(false);
    QLineEdit* edit = this->lineEdit();
    // Qt moves the cursor to the nearest section, and puts the old value back when that
    // changes the section, at every cursor move; typed text has no sections yet.
    if (QObject::disconnect(edit, SIGNAL(cursorPositionChanged(int, int)), this,
                            SLOT(_q_editorCursorPositionChanged(int, int))))
        QObject::connect(edit, &QLineEdit::cursorPositionChanged, this, [this](int from, int to) {
            if (!typing())
                QMetaObject::invokeMethod(this, "_q_editorCursorPositionChanged", Q_ARG(int, from),
                                          Q_ARG(int, to));
        });
    QObject::connect(edit, &QLineEdit::textEdited, this, [this] { markRefusedQt(this, false); });
}

template <class Edit> CTypedEntry CTypedDateTimeEdit<Edit>::entry(const QString& text) const {
    return CTypedEntry::read(text, this->displayedSections(), this->locale(), this->dateTime());
}

template <class Edit> bool CTypedDateTimeEdit<Edit>::typing() const {
    return this->lineEdit()->text() != this->textFromDateTime(this->dateTime());
}

template <class Edit> bool CTypedDateTimeEdit<Edit>::readable() const {
    return entry(this->lineEdit()->text()).state == QValidator::Acceptable;
}

template <class Edit>
QValidator::State CTypedDateTimeEdit<Edit>::validate(QString& input, int&) const {
    return entry(input).state;
}

template <class Edit> void CTypedDateTimeEdit<Edit>::fixup(QString&) const {
    // Nothing is guessed: text that cannot be read stays as typed.
}

template <class Edit>
QDateTime CTypedDateTimeEdit<Edit>::dateTimeFromText(const QString& text) const {
    return entry(text).value;
}

template <class Edit> void CTypedDateTimeEdit<Edit>::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const QString text = event->text();
    const bool plain = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    const bool typed = plain && !text.isEmpty() && text.front().isPrint();
    const bool erase = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    const bool move =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
    if (typed || erase || (move && typing())) {
        // Plain line editing, past the section handling. Typing over a selected section
        // starts a new entry.
        if (typed && !typing() && this->lineEdit()->hasSelectedText())
            this->lineEdit()->selectAll();
        this->QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !readable()) {
        // The dialog's default button still sees Enter, and refuses OK.
        markRefusedQt(this, true);
        event->ignore();
        return;
    }
    Edit::keyPressEvent(event);
}

template <class Edit> void CTypedDateTimeEdit<Edit>::focusInEvent(QFocusEvent* event) {
    const bool keep = typing();
    const QString text = this->lineEdit()->text();
    Edit::focusInEvent(event); // shows the value again
    if (!keep) return;
    this->lineEdit()->setText(text);
    this->lineEdit()->selectAll();
}

template <class Edit> void CTypedDateTimeEdit<Edit>::focusOutEvent(QFocusEvent* event) {
    const bool refused = !readable();
    const QString text = this->lineEdit()->text();
    Edit::focusOutEvent(event); // takes readable text, shows the value again
    if (refused) this->lineEdit()->setText(text);
    markRefusedQt(this, refused);
}

template <class Edit> bool CTypedDateTimeEdit<Edit>::focusNextPrevChild(bool next) {
    // Tab walks the sections of a shown value, and leaves typed text.
    if (typing()) return this->QWidget::focusNextPrevChild(next);
    return Edit::focusNextPrevChild(next);
}

template class CTypedDateTimeEdit<QDateEdit>;
template class CTypedDateTimeEdit<QTimeEdit>;

} // namespace orv
