#pragma once
// The values of the "Merge Warnings and Errors" dialog: the problems of a merge that did not
// stop it, one line each in the order they were met.

#include "group/CUserPrompt.h"

#include <string>
#include <vector>

namespace orv {

class CMergeWarningsModel : public CDialogModel {
public:
    static constexpr const char* kId = "MergeWarnings";
    static constexpr const char* kTitle = "Merge Warnings and Errors";

    explicit CMergeWarningsModel(std::vector<std::string> warnings)
        : m_warnings(std::move(warnings)) {}

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }
    const std::vector<std::string>& warnings() const { return m_warnings; }

private:
    std::vector<std::string> m_warnings;
};

} // namespace orv
