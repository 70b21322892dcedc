#pragma once
// Shows the busy cursor for as long as it lives.

#include "group/CUserPrompt.h"

namespace orv {

class CWaitCursor {
public:
    explicit CWaitCursor(CUserPrompt& prompt) : m_prompt(prompt) { m_prompt.waitCursor(true); }
    ~CWaitCursor() { m_prompt.waitCursor(false); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    CUserPrompt& m_prompt;
};

} // namespace orv
