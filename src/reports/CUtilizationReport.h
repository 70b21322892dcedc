#pragma once
// "Utilization Report": for each chosen item, the share of the available time that was reserved
// on each day of the week over a range of dates, optionally within a window of hours, with the
// weekly and the Monday-to-Friday average. Blockouts never count; reservations that overlap each
// other add up, so a share can pass 1.

#include "group/CUserPrompt.h"
#include "reports/CPrintRequest.h"
#include "reports/CUtilizationCriteria.h"

#include <array>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CUtilizationReport : public CDialogModel {
public:
    static constexpr const char* kId = "UtilizationReport";
    static constexpr const char* kTitle = "Utilization Report";
    static constexpr const char* kNoReservations =
        "No reservations for this group, utilization is 0";
    static constexpr const char* kNoReservationsTitle = "No Reservations";
    static constexpr const char* kBadDateTitle = "Utilization Error";
    static constexpr const char* kColumns = "Name                 Sun   Mon   Tue   Wed   Thur  Fri"
                                            "   Sat    Weekly Avg    Mon-Fri Avg";

    using Week = std::array<double, 7>; // Sunday first

    // The document must outlive the report. Nothing is read before compute().
    CUtilizationReport(CORVSchedDoc& doc, CUtilizationCriteria criteria);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    const std::string& description() const;
    // Walks the schedule from the first day of the range and builds the lines. 0, the engine's
    // failure, or kBadRecordDate after a record whose date is not a calendar date (the message
    // is then in error()); the lines are empty unless it returns 0.
    static constexpr int kBadRecordDate = 1;
    int compute();
    const std::string& error() const { return m_error; }
    const std::vector<std::string>& lines() const { return m_lines; }
    // The shares of an item (item order) after compute(); included(i) says whether it is listed.
    const Week& shares(int item) const { return m_values.at(static_cast<std::size_t>(item)); }
    bool included(int item) const { return m_included.at(static_cast<std::size_t>(item)); }
    CPrintRequest printRequest() const;

    // The seconds of each weekday the range offers: the window's hours (or the whole day) for
    // every whole week of the range, and once more for the weekdays of what is left over.
    static Week available(const CUtilizationCriteria& criteria);
    // Clips minutes from midnight [start, end) to the window of whole hours [ws, we). False when
    // nothing of it lies in the window.
    static bool clip(int& start, int& end, int ws, int we);
    // "Utilization from %02d/%02d/%04d to %02d/%02d/%04d %s".
    static std::string heading(const CUtilizationCriteria& criteria);

    // View > Utilization: the group must have a reservation at all; then the options, preset to
    // the earliest reservation's date and `startHour`, and on OK the report. False when no
    // report was shown.
    static bool run(CORVSchedDoc& doc, int startHour);

private:
    CORVSchedDoc& m_doc;
    CUtilizationCriteria m_criteria;
    std::vector<Week> m_values;
    std::vector<bool> m_included;
    std::vector<std::string> m_lines;
    std::string m_error;
};

} // namespace orv
