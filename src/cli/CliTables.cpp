#include "cli/CliTables.h"

#include "cli/CliGroup.h"

#include "tables/Cp1252.h"

namespace orv::cli {

void initToolContext(Code4& code) {
    code4init(&code);
    code.silentErrors = 1;
}

std::string describeResult(int code) {
    switch (code) {
    case res4success: return "0 (res4success)";
    case res4after: return "2 (res4after)";
    case res4eof: return "3 (res4eof)";
    case res4bof: return "4 (res4bof)";
    case res4noRecord: return "5 (res4noRecord)";
    case res4unique: return "20 (res4unique)";
    case res4uniqueContinue: return "25 (res4uniqueContinue)";
    case res4locked: return "50 (res4locked)";
    case res4noCreate: return "60 (res4noCreate)";
    case res4noTag: return "80 (res4noTag)";
    default: break;
    }
    if (code < 0) return std::to_string(code) + " " + error4text(code);
    return std::to_string(code);
}

std::string recordLine(Data4* data) {
    std::vector<std::string> values;
    for (int i = 1; i <= d4numFields(data); ++i) values.push_back(f4str(d4fieldJ(data, i)));
    return valueLine(values);
}

} // namespace orv::cli
