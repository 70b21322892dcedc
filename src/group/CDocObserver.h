#pragma once
// What a group document tells the views that show it.

namespace orv {

class CDocObserver {
public:
    virtual ~CDocObserver() = default;
    // Items, in-use states, texts or the layout changed: recompute and redraw everything.
    virtual void documentChanged() = 0;
};

} // namespace orv
