#include "cli/CCliProgress.h"

#include "tables/Cp1252.h"

#include <cstdio>
#include <unistd.h>

namespace orv::cli {

namespace {
constexpr auto kShowAfter = std::chrono::milliseconds(500);
}

CCliProgress::CCliProgress(std::string label)
    : m_label(cp1252ToUtf8(label)), m_terminal(::isatty(2) == 1),
      m_start(std::chrono::steady_clock::now()) {}

CCliProgress::~CCliProgress() {
    if (m_shown) std::fprintf(stderr, "\r\033[K");
}

bool CCliProgress::step(long done, long total) {
    if (!m_terminal || total <= 0) return true;
    const int percent = static_cast<int>(static_cast<long long>(done) * 100 / total);
    if (percent == m_percent) return true;
    if (!m_shown && std::chrono::steady_clock::now() - m_start < kShowAfter) return true;
    m_percent = percent;
    m_shown = true;
    std::fprintf(stderr, "\r%s: %d%%", m_label.c_str(), percent);
    std::fflush(stderr);
    return true;
}

} // namespace orv::cli
