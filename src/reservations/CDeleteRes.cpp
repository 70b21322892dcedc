#include "reservations/CDeleteRes.h"

#include "group/CORVSchedDoc.h"

#include <cstdio>

namespace orv {

namespace {

std::string shortDate(const CDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", d.month, d.day, d.year);
    return text;
}

} // namespace

CDeleteRes::CDeleteRes(int daysToKeep) {
    date = CDate::today().addDays(-(daysToKeep < 0 ? kDefaultDays : daysToKeep));
}

bool CDeleteRes::onOk(CUserPrompt& prompt) {
    if (date > CDate::today()) {
        prompt.message(kInFuture, kInFutureTitle, PromptIcon::error);
        return false;
    }
    return true;
}

std::string CDeleteRes::question(const CDate& d) {
    return "Are you sure you want to delete all reservations prior to " + shortDate(d);
}

std::string CDeleteRes::report(int count, const CDate& d) {
    if (count != 0) return std::to_string(count) + " schedule items deleted";
    return "No reservations found before " + shortDate(d) + ", nothing deleted";
}

int CDeleteRes::run(CORVSchedDoc& doc, int daysToKeep) {
    CUserPrompt& prompt = doc.prompt();
    CDeleteRes dialog(daysToKeep);
    if (!prompt.runDialog(dialog)) return -1;
    if (!prompt.ask(question(dialog.date), kConfirmTitle)) return -1;
    const int count = doc.deleteOlderThan(dialog.date.key());
    prompt.message(report(count, dialog.date), kDeletedTitle, PromptIcon::information);
    return count;
}

} // namespace orv
