#pragma once
// Where each line of a list print goes: the pages, and on each the heading and list lines with
// their heights. Plain arithmetic on the printer's measures, so the Qt side only draws.
//
// `pageHeight` is the height the printer can print on (what a painter on it may use), not the
// paper: a limit measured from the paper would put the last lines of a page below the printable
// area, where they are lost.

#include "reports/CPrintRequest.h"

#include <string>
#include <vector>

namespace orv {

struct CPrintedLine {
    int y = 0; // top of the line, in printer units from the top of the printable area
    std::string text;
};

using CPrintedPage = std::vector<CPrintedLine>;

class CPrintPaging {
public:
    // Always at least one page (an empty list still prints its headings). A new page starts
    // only for a line that is still to come, so a list that exactly fills a page leaves no
    // empty page behind. Preconditions: lineHeight > 0.
    static std::vector<CPrintedPage> layout(const CPrintRequest& request, int lineHeight,
                                            int pageHeight);
};

} // namespace orv
