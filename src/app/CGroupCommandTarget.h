#pragma once
// The receiver of the group menu's commands: the main view of a group window implements it and
// its CChildFrame points to it. The main frame asks the active group window's target whether it
// handles a command (no: the entry stays greyed), whether the command is available right now (the
// attendee commands are not while the group's attendee function is off) and runs it.

#include "app/Command.h"

namespace orv {

class CGroupCommandTarget {
public:
    virtual ~CGroupCommandTarget() = default;
    virtual bool handles(Command command) const = 0;
    virtual bool isEnabled(Command command) const {
        (void)command;
        return true;
    }
    virtual void run(Command command) = 0;
};

} // namespace orv
