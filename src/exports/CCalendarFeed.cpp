#include "exports/CCalendarFeed.h"

#include "exports/CCalendarExport.h"
#include "group/CGroupNames.h"
#include "group/CORVSchedDoc.h"

#include <cstdio>
#include <sys/stat.h>

namespace orv {

CCalendarFeed::CCalendarFeed(CORVSchedDoc& doc) : m_doc(doc) {
    m_folder = doc.settingsStore().readText(kSection, settingKey());
    m_floating = doc.settingsStore().readText(kTimesSection, settingKey()) == "floating";
}

void CCalendarFeed::setFloating(bool floating) {
    m_doc.settingsStore().writeText(kTimesSection, settingKey(),
                                    floating ? std::optional<std::string>("floating")
                                             : std::nullopt);
    m_floating = m_doc.settingsStore().readText(kTimesSection, settingKey()) == "floating";
    m_written.clear();
}

std::string CCalendarFeed::settingKey() const {
    return CGroupNames::settingKey(m_doc.groupFile());
}

void CCalendarFeed::setFolder(const std::string& folder) {
    if (folder.empty())
        m_doc.settingsStore().writeText(kSection, settingKey(), std::nullopt);
    else
        m_doc.settingsStore().writeText(kSection, settingKey(), folder);
    m_folder = m_doc.settingsStore().readText(kSection, settingKey());
    m_written.clear();
}

std::string CCalendarFeed::filePath() const {
    std::string name = m_doc.groupFile();
    if (auto slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (auto dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
    std::string folder = m_folder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + name + ".ics";
}

// The tables' times and sizes, and today: the file's range moves on with the date.
std::string CCalendarFeed::signature() const {
    std::string sig = CDate::today().key() + ";";
    for (const std::string& table : {CGroupNames::scheduleTable(m_doc.groupFile()),
                                     CGroupNames::rosterLinkTable(m_doc.groupFile())}) {
        for (const char* ext : {".dbf", ".cdx", ".DBF", ".CDX"}) {
            struct stat st {};
            if (::stat((table + ext).c_str(), &st) != 0) continue;
            char part[96];
            std::snprintf(
                part, sizeof part, "%lld.%09ld:%lld;", static_cast<long long>(st.st_mtim.tv_sec),
                static_cast<long>(st.st_mtim.tv_nsec), static_cast<long long>(st.st_size));
            sig += part;
        }
    }
    return sig;
}

bool CCalendarFeed::write(CORVSchedDoc& doc, const std::string& path, std::string* error,
                          bool floating) {
    CExportFilter filter;
    filter.from = CDate::today().addDays(-kDaysBack);
    filter.to = CDate::today().addDays(kDaysAhead);
    std::string text;
    std::string why;
    if (const int rc = CCalendarExport::render(doc, filter, CCalendarExport::Format::ics, path,
                                               text, nullptr, floating);
        rc != 0)
        why = CCalendarExport::notReadMessage(rc);
    else if (CCalendarExport::writeFile(path, text, why))
        return true;
    if (error) *error = why;
    return false;
}

bool CCalendarFeed::refresh(bool force, std::string* error) {
    if (!enabled() || !m_doc.isOpen()) return true;
    const std::string now = signature();
    if (!force && now == m_written) return true;
    if (!write(m_doc, filePath(), error, m_floating)) return false;
    m_written = now;
    return true;
}

} // namespace orv
