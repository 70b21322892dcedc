#pragma once
// "Reservation Report": the reservations of a range of dates, grouped by date and item with a
// count per group, as finished list lines. The dialog shows the group description above the
// list, and prints the lines.

#include "group/CUserPrompt.h"
#include "reports/CPrintRequest.h"
#include "reports/CReportCriteria.h"
#include "reports/CTextLines.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;
class CScheduleRecord;

class CResReportData : public CDialogModel {
public:
    static constexpr const char* kId = "ResReportData";
    static constexpr const char* kTitle = "Reservation Report";
    static constexpr const char* kGenerating = "**** Generating reservation report ****";
    static constexpr const char* kEnd = "**End of Report**";
    // In place of the end line when the user stopped the report.
    static constexpr const char* kStopped = "**Report stopped**";
    static constexpr const char* kProgress = "Generating reservation report";
    static constexpr const char* kOutOfMemory = "Out of memory, report stopped";

    // The document must outlive the report. Nothing is read before build().
    CResReportData(CORVSchedDoc& doc, CReportCriteria criteria);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    const std::string& description() const;
    // Builds the lines from the schedule table; the engine's result of the walk (the lines are
    // complete up to where it stopped).
    int build();
    const CTextLines& lines() const { return m_lines; }
    CPrintRequest printRequest() const;

    // The detail line of one record.
    static std::string detailLine(const CScheduleRecord& r);

private:
    bool passes(const CScheduleRecord& r, const std::vector<std::string>& itemNames) const;

    CORVSchedDoc& m_doc;
    CReportCriteria m_criteria;
    CTextLines m_lines;
};

} // namespace orv
