#pragma once
// Progress of long work (compress, merge, import, reindex, delete-old, the reports over large
// tables). The work reports its steps; the desktop shows a progress dialog once the work has
// taken half a second, the command line a line on a terminal, tests count the steps.

namespace orv {

class CProgress {
public:
    virtual ~CProgress() = default;
    // `done` of `total` steps so far. False once the user asked to stop; work that cannot stop
    // halfway safely is given a progress without a Cancel and ignores the answer.
    virtual bool step(long done, long total) {
        (void)done;
        (void)total;
        return true;
    }
};

} // namespace orv
