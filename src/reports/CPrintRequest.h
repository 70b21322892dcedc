#pragma once
// What one list print needs: the list's lines, the job name, the font, the heading lines and
// where everything goes. Heights are counted in printer line heights (L: character height plus
// external leading of the printer font); text starts one average character width from the left.
// Each list of the program has its own form, made by the factories below.

#include <string>
#include <vector>

namespace orv {

struct CPrintHeading {
    std::string text; // stored text
    int atLines = 0;  // its height, in line heights
};

struct CPrintRequest {
    enum class Paging {
        onePage,     // whatever falls below the page is left out
        atLimit,     // a new page when the next height reaches the limit
        beyondLimit, // a new page when the next height passes the limit
    };

    std::vector<std::string> lines; // stored text, printed as they are
    std::string jobName;
    std::string fontFace; // empty: the printer's default font
    int pointSize = 0;
    std::vector<CPrintHeading> headings;
    bool headingsOnEveryPage = false;
    int firstLine = 0; // height of the first list line, in line heights
    int lineStep = 1;  // in line heights
    Paging paging = Paging::onePage;
    int limitFromBottom = 0; // the limit is the page height less this many line heights
    int continueAt = 0;      // height of the first line on a further page, in line heights

    // Day at a glance: `dateText` is the shown date as "%A, %B %d, %Y".
    static CPrintRequest dayGlance(std::string dateText, std::vector<std::string> lines,
                                   bool allDay);
    // Month at a glance: `monthText` is the shown month as "%B, %Y".
    static CPrintRequest monthGlance(std::string monthText, std::vector<std::string> lines);
    static CPrintRequest reservationReport(const std::string& description,
                                           std::vector<std::string> lines);
    static CPrintRequest utilization(const std::string& description,
                                     std::vector<std::string> lines);
    // An attendee's attendance: `title` is the dialog title, repeated on every page.
    static CPrintRequest attendance(std::string title, std::vector<std::string> lines);
};

} // namespace orv
