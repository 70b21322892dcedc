#include "reports/CPrintRequest.h"

namespace orv {

namespace {

constexpr const char* kCourier = "Courier";

CPrintRequest glance(std::string jobName, int pointSize, std::string shown, const char* title,
                     std::vector<std::string> lines) {
    CPrintRequest r;
    r.lines = std::move(lines);
    r.jobName = std::move(jobName);
    r.fontFace = kCourier;
    r.pointSize = pointSize;
    r.headings = {{std::move(shown), 2}, {title, 4}};
    r.firstLine = 7;
    return r;
}

// The two reports: a heading on the first page only, then as many pages as the lines need.
CPrintRequest report(std::string jobName, std::string heading, int headingAt, int firstLine,
                     int lineStep, std::vector<std::string> lines) {
    CPrintRequest r;
    r.lines = std::move(lines);
    r.jobName = std::move(jobName);
    r.fontFace = kCourier;
    r.pointSize = 10;
    r.headings = {{std::move(heading), headingAt}};
    r.firstLine = firstLine;
    r.lineStep = lineStep;
    r.paging = CPrintRequest::Paging::atLimit;
    r.limitFromBottom = 4;
    r.continueAt = 2;
    return r;
}

} // namespace

CPrintRequest CPrintRequest::dayGlance(std::string dateText, std::vector<std::string> lines,
                                       bool allDay) {
    return glance("DayGlance", allDay ? 8 : 10, std::move(dateText), "Day at a Glance",
                  std::move(lines));
}

CPrintRequest CPrintRequest::monthGlance(std::string monthText, std::vector<std::string> lines) {
    return glance("MonthGlance", 8, std::move(monthText), "Month at a Glance", std::move(lines));
}

CPrintRequest CPrintRequest::reservationReport(const std::string& description,
                                               std::vector<std::string> lines) {
    return report("Reservation Report", "Reservation Report for " + description, 2, 6, 1,
                  std::move(lines));
}

CPrintRequest CPrintRequest::utilization(const std::string& description,
                                         std::vector<std::string> lines) {
    return report("Utilization", "Utilization Report for " + description, 4, 8, 2,
                  std::move(lines));
}

CPrintRequest CPrintRequest::attendance(std::string title, std::vector<std::string> lines) {
    CPrintRequest r;
    r.lines = std::move(lines);
    r.jobName = "Attendance";
    r.headings = {{std::move(title), 2}};
    r.headingsOnEveryPage = true;
    r.firstLine = 4;
    r.paging = Paging::beyondLimit;
    r.limitFromBottom = 3;
    r.continueAt = 4;
    return r;
}

} // namespace orv
