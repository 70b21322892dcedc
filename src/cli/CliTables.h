#pragma once
// What the table tools of orvsched-cli share: opening a table quietly and describing engine
// results in one line.

#include "storage/Data4.h"

#include <string>

namespace orv::cli {

// A context for tools: engine reports are turned into one line by the caller instead.
void initToolContext(Code4& code);
// "-64 File Find Error Opening File", "20 (res4unique)".
std::string describeResult(int code);
// Record fields as valueLine (CliGroup.h) joins them, trailing blanks kept.
std::string recordLine(Data4* data);

} // namespace orv::cli
