#pragma once
// "Day at a Glance": one line per item of the group for one date, a time line on which each
// reserved quarter hour is a '*'. Two forms: twelve hours from a start hour, or the whole day.
// The dialog shows lines() in a CDAGListBox; a click on an item line opens that item's day list
// through the opener the main view gives, and the overview reloads when that changed something.
//
// The overview holds its own copy of the date's reservations; the document's today's list is
// not touched.

#include "displays/CItemDayOutcome.h"
#include "displays/CQuarterHourLine.h"
#include "group/CUserPrompt.h"
#include "reports/CPrintRequest.h"
#include "tables/_SCHEDITEM.h"

#include <ctime>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CDayGlance : public CDialogModel {
public:
    enum class Form { twelveHours, allDay };

    static constexpr const char* kId = "DayGlance";
    static constexpr const char* kTitle = "Day at a Glance";
    static constexpr int kNameWidth = 20;
    static constexpr int kMinStartHour = 0;
    static constexpr int kMaxStartHour = 12;
    static constexpr int kHoursShown = 12;
    static constexpr char kBlockoutMark = 'B';
    static constexpr const char* kBlockedOutHeading = "Blocked out:";

    // Characters of a line's time part: twelve hours with both end marks (49), or the whole day.
    static constexpr int partLength(Form form) {
        return form == Form::allDay ? CQuarterHourLine::kLength : 4 * kHoursShown + 1;
    }

    // Shows today's date and loads it. `startHour` matters for the twelve-hour form only and is
    // held to 0-12. The document must outlive the overview.
    CDayGlance(CORVSchedDoc& doc, Form form, int occupiedColour, int startHour,
               OpenItemDay openItemDay);
    // The same for a given date (month 1-12).
    CDayGlance(CORVSchedDoc& doc, Form form, int occupiedColour, int startHour,
               OpenItemDay openItemDay, int month, int day, int year);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    Form form() const { return m_form; }
    int occupiedColour() const { return m_occupied; }
    int month() const { return m_month; }
    int day() const { return m_day; }
    int year() const { return m_year; }
    int startHour() const { return m_startHour; }
    // "AM", or "PM" for the start hour 12.
    const char* hourLabel() const { return m_startHour == 12 ? "PM" : "AM"; }

    // Shows another date and reloads.
    void setDate(int month, int day, int year);
    // The up-down arrows: one hour on or back, never leaving 0-12; reloads.
    void stepStartHour(int delta);
    // A typed start hour: outside 0-12 (or not a number) it is refused with the range message
    // and the previous hour stays. Reloads when taken.
    bool typeStartHour(const std::string& text, CUserPrompt& prompt);
    // Loads the date's reservations and rebuilds the lines; the engine's result.
    int reload();
    // The engine's result of the last load (0: the lines show every reservation of the date).
    int loadResult() const { return m_loadResult; }

    // The list: headings and one line per item.
    const std::vector<std::string>& lines() const { return m_lines; }
    // Beside each line, a text of its length with kBlockoutMark where a blockout (not a
    // reservation) holds the quarter, blank elsewhere: the list shows those quarters apart.
    const std::vector<std::string>& blockoutMarks() const { return m_marks; }
    // The shown blockouts as printed after the list: one line per blockout ("  Boardroom ...
    // 9:00 AM - 5:00 PM") under kBlockedOutHeading; empty when there is none.
    std::vector<std::string> blockoutLines() const;
    // Line `line` (0-based, headings included) was clicked: an item line opens that item's day
    // list for the shown date. True when the overview reloaded afterwards.
    bool openLine(int line);
    // Whether a day list opened from here changed something.
    bool changedSomething() const { return m_changedSomething; }

    // "%A, %B %d, %Y" of the shown date.
    std::string dateText() const;
    CPrintRequest printRequest() const;

    // Whether the twelve-hour form from `startHour` shows a reservation: it overlaps the twelve
    // hours.
    static bool inWindow(const _SCHEDITEM& r, int startHour);

private:
    CDayGlance(CORVSchedDoc& doc, Form form, int occupiedColour, int startHour,
               OpenItemDay openItemDay, const std::tm& date);
    void refill();

    CORVSchedDoc& m_doc;
    Form m_form;
    int m_occupied;
    int m_startHour;
    OpenItemDay m_openItemDay;
    int m_month = 0;
    int m_day = 0;
    int m_year = 0;
    std::vector<_SCHEDITEM> m_reservations;
    std::vector<std::string> m_lines;
    std::vector<std::string> m_marks;
    bool m_changedSomething = false;
    int m_loadResult = 0;
};

} // namespace orv
