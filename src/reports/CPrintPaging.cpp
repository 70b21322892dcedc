#include "reports/CPrintPaging.h"

namespace orv {

namespace {

void addHeadings(CPrintedPage& page, const CPrintRequest& request, int lineHeight) {
    for (const CPrintHeading& h : request.headings)
        page.push_back({h.atLines * lineHeight, h.text});
}

bool pageEnds(const CPrintRequest& request, int next, int limit) {
    switch (request.paging) {
    case CPrintRequest::Paging::atLimit:
        return next >= limit;
    case CPrintRequest::Paging::beyondLimit:
        return next > limit;
    case CPrintRequest::Paging::onePage:
        break;
    }
    return false;
}

} // namespace

std::vector<CPrintedPage> CPrintPaging::layout(const CPrintRequest& request, int lineHeight,
                                               int pageHeight) {
    std::vector<CPrintedPage> pages(1);
    addHeadings(pages.back(), request, lineHeight);
    const int step = request.lineStep * lineHeight;
    const int limit = pageHeight - request.limitFromBottom * lineHeight;
    int y = request.firstLine * lineHeight;
    for (std::size_t i = 0; i < request.lines.size(); ++i) {
        if (request.paging == CPrintRequest::Paging::onePage && y + lineHeight > pageHeight) break;
        pages.back().push_back({y, request.lines[i]});
        y += step;
        if (i + 1 < request.lines.size() && pageEnds(request, y, limit)) {
            pages.emplace_back();
            if (request.headingsOnEveryPage) addHeadings(pages.back(), request, lineHeight);
            y = request.continueAt * lineHeight;
        }
    }
    return pages;
}

} // namespace orv
