#pragma once
// A new group file with its own people table, made through the document as File > New Group
// makes one.

#include "common/ScriptedPrompt.h"
#include "group/CGroupInfoModel.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"

#include <gtest/gtest.h>

#include <string>

namespace orv::test {

inline void createGroup(const std::string& path, const std::string& kind = "room",
                        const std::string& description = "Rooms") {
    ScriptedPrompt p;
    p.fill<CGroupInfoModel>([=](CGroupInfoModel& m) {
        m.kindWord = kind;
        m.description = description;
    });
    p.files.push_back(path);
    CMemorySettings settings;
    CORVSchedDoc maker(p, settings);
    ASSERT_TRUE(maker.createGroup());
}

} // namespace orv::test
