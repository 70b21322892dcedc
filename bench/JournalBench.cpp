// journal_bench [APPENDS] [FOLDER]: the durable append of a reservation (append, flush, unlock)
// alone and with its journal entry, alternating in rounds so that both meet the same disk.

#include "group/CGroupInfoModel.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace orv;

namespace {

// Answers the new-group dialog and its file chooser; says nothing else.
class MakerPrompt : public CUserPrompt {
public:
    explicit MakerPrompt(std::string path) : m_path(std::move(path)) {}
    void message(const std::string& text, const std::string& title, PromptIcon) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
    bool ask(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileChoice&) override { return m_path; }
    bool runDialog(CDialogModel& model) override {
        auto* info = dynamic_cast<CGroupInfoModel*>(&model);
        if (!info) return false;
        info->kindWord = "room";
        info->description = "Bench";
        return true;
    }
    void waitCursor(bool) override {}

private:
    std::string m_path;
};

using Clock = std::chrono::steady_clock;

// Microseconds per append of `count` reservations from day `first` on.
double appends(CORVSchedDoc& doc, int first, int count, bool journal) {
    CSchedule& s = doc.schedule();
    const auto t0 = Clock::now();
    for (int i = 0; i < count; ++i) {
        const int n = first + i;
        s.clearImage();
        CScheduleRecord& r = s.image();
        r.setDate(1 + n / 28 % 12, 1 + n % 28, 2027 + n / 336);
        r.setItemName("Boardroom");
        r.setStartTime(9, 0);
        r.setEndTime(10, 0);
        r.setPerson("Alex", "J", "Morgan", "Sales");
        r.setNote("Budget");
        r.setMade(12, 9, 2026, 9, 0, 0);
        int rc = 0;
        if (journal) {
            CJournalChange change(doc);
            rc = s.append();
        } else {
            rc = s.append();
        }
        if (rc != 0) {
            std::fprintf(stderr, "append failed: %d\n", rc);
            std::exit(1);
        }
    }
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / count;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::string folder = argc > 2 ? argv[2] : "orv-journal-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string groupFile = folder + "/Bench.sch";
    MakerPrompt prompt(groupFile);
    CMemorySettings settings;
    {
        CORVSchedDoc maker(prompt, settings);
        if (!maker.createGroup()) return 1;
    }
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(groupFile) || !doc.journal().isOpen()) return 1;

    std::vector<double> plain, journaled;
    int day = 0;
    for (int round = 0; round < 7; ++round) {
        plain.push_back(appends(doc, day, count, false));
        day += count;
        journaled.push_back(appends(doc, day, count, true));
        day += count;
    }
    const double a = median(plain), b = median(journaled);
    std::printf("| durable append             | us per append (median of 7 rounds of %d) |\n",
                count);
    std::printf("|----------------------------|-----------------|\n");
    std::printf("| without the journal        | %15.0f |\n", a);
    std::printf("| with its journal entry      | %15.0f |\n", b);
    std::printf("added by the journal: %.1f %%\n", (b / a - 1) * 100);
    return 0;
}
