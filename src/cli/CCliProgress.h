#pragma once
// The command line's progress: "label: 42%" rewritten in place on standard error, only when
// standard error is a terminal (a log or a pipe gets nothing), and wiped at the end.

#include "group/CProgress.h"

#include <chrono>
#include <string>

namespace orv::cli {

class CCliProgress : public CProgress {
public:
    explicit CCliProgress(std::string label);
    ~CCliProgress() override;

    bool step(long done, long total) override;

private:
    std::string m_label;
    bool m_terminal;
    bool m_shown = false;
    int m_percent = -1;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace orv::cli
