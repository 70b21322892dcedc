#pragma once
// Which columns of a spreadsheet's CSV file say what, and how its dates are written. Our own
// export's header is known at once; other headers are matched by the usual column names, and
// the user maps the rest.

#include "exports/CCsvReader.h"
#include "exports/CImportEvent.h"

#include <string>
#include <vector>

namespace orv {

class CCsvMapping {
public:
    enum class DateForm { ymd, mdy, dmy }; // YYYY-MM-DD, MM/DD/YYYY, DD.MM.YYYY
    enum Field {
        kDate,
        kStart,
        kEnd,
        kLength,
        kItem,
        kPerson,
        kLastName,
        kFirstName,
        kMiddleInitial,
        kDepartment,
        kNote,
        kKind,
        kFieldCount
    };
    // The names the fields go by in --column and in the dialog.
    static const char* const kFieldNames[kFieldCount];

    DateForm dateForm = DateForm::ymd;
    int column[kFieldCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

    // The columns the header row names (case and surrounding blanks aside). True when the date,
    // a start and an end or length are found.
    bool fromHeader(const std::vector<std::string>& header);
    bool complete() const;
    // "date=1" (a column number from 1) or "date=Start Date" (a header name): false when the
    // field or the column is unknown.
    bool setColumn(const std::string& assignment, const std::vector<std::string>& header);
    static bool dateFormFromText(const std::string& text, DateForm& form);
    static const char* dateFormText(DateForm form); // "YYYY-MM-DD", ...

    // A date as `form` writes it, or false.
    static bool parseDate(const std::string& text, DateForm form, CDate& date);
    // "9:05", "09:05:00", "9:05 PM": hhmm, or false.
    static bool parseTime(const std::string& text, int& hhmm);
    // Minutes, or "H:MM": false when it is neither.
    static bool parseLength(const std::string& text, int& minutes);

    // The events of the rows after the header, one a row.
    std::vector<CImportEvent> events(const std::vector<CCsvRow>& rows) const;
};

} // namespace orv
