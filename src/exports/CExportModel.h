#pragma once
// File > Export...: a date range, optionally some items and some people, a format, and the file
// to write.

#include "exports/CCalendarExport.h"
#include "group/CUserPrompt.h"
#include "tables/CListLine.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CExportModel : public CDialogModel {
public:
    static constexpr const char* kId = "Export";
    static constexpr const char* kTitle = "Export Reservations";
    static constexpr const char* kBadRange = "The last date must not be before the first date.";
    static constexpr const char* kFilter =
        "iCalendar Files (*.ics)|*.ics|CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";

    explicit CExportModel(CORVSchedDoc& doc);

    const char* id() const override { return kId; }
    // Checks the dates, asks for the file, writes it and tells how many were written.
    bool onOk(CUserPrompt& prompt) override;

    CDate from;
    CDate to;
    CCalendarExport::Format format = CCalendarExport::Format::ics;
    // iCalendar: floating times instead of times in the user's time zone.
    static constexpr const char* kFloating = "Floating times (the same clock time in every zone)";
    bool floating = false;
    std::vector<int> selectedItems;  // indices into the item list; none: all
    std::vector<int> selectedPeople; // lines of peopleLines(); none: everybody
    const std::vector<CListLine>& peopleLines() const { return m_people; }
    // The group's items, in item order.
    std::vector<std::string> itemNames() const;
    // The filter the values make.
    CExportFilter filter() const;
    // The records written by the last OK.
    int exported() const { return m_exported; }

private:
    CORVSchedDoc& m_doc;
    std::vector<CListLine> m_people;
    std::vector<CPeopleKey> m_keys;
    int m_exported = 0;
};

} // namespace orv
