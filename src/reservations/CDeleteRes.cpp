#include "reservations/CDeleteRes.h"

#include "group/CORVSchedDoc.h"
#include "reservations/CReservationText.h"


namespace orv {

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
    return "Are you sure you want to delete all reservations prior to " + CReservationText::shortDate(d);
}

std::string CDeleteRes::report(int count, const CDate& d) {
    if (count != 0) return std::to_string(count) + " schedule items deleted";
    return "No reservations found before " + CReservationText::shortDate(d) + ", nothing deleted";
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
