#pragma once
// File > Calendar File...: whether to keep a calendar file of this group, and where.

#include "exports/CCalendarFeed.h"
#include "group/CUserPrompt.h"

#include <string>

namespace orv {

class CCalendarFeedModel : public CDialogModel {
public:
    static constexpr const char* kId = "CalendarFile";
    static constexpr const char* kTitle = "Calendar File";
    static constexpr const char* kKeep = "Keep a calendar file of this group";
    static constexpr const char* kFloating = "Floating times (the same clock time in every zone)";
    static constexpr const char* kNoFolder = "Choose the folder the calendar file is kept in.";

    explicit CCalendarFeedModel(CCalendarFeed& feed)
        : keep(feed.enabled()), folder(feed.folder()), floating(feed.floating()), m_feed(feed) {}

    const char* id() const override { return kId; }
    // Stores the choice and, when it is on, writes the file at once.
    bool onOk(CUserPrompt& prompt) override {
        if (keep && folder.empty()) {
            prompt.message(kNoFolder, kTitle, PromptIcon::error);
            return false;
        }
        m_feed.setFloating(floating);
        m_feed.setFolder(keep ? folder : std::string());
        std::string error;
        if (!m_feed.refresh(true, &error)) {
            prompt.message(error, kTitle, PromptIcon::error);
            return false;
        }
        return true;
    }

    bool keep;
    std::string folder;
    bool floating;

private:
    CCalendarFeed& m_feed;
};

} // namespace orv
