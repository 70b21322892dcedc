#include "tables/CSeriesRules.h"

#include "tables/CFieldText.h"
#include "tables/CScheduleRecord.h"
#include "tables/CTableNames.h"
#include "tables/CTableOps.h"

#include <set>

namespace orv {

namespace {
std::string dateOrZeros(const CDate& d) {
    return d.isSet() ? d.key() : std::string(8, '0');
}
} // namespace

int CSeriesRules::create(const std::string& groupFile) {
    m_tableName = CTableNames::series(groupFile);
    Field4info fields;
    fields.add("DATEMADE", 'C', 8);
    fields.add("TIMEMADE", 'C', 4);
    fields.add("MADESECS", 'C', 2);
    fields.add("ROOMNAME", 'C', 20);
    fields.add("STARTHH", 'C', 2);
    fields.add("STARTMM", 'C', 2);
    fields.add("KIND", 'C', 1);
    fields.add("DATE", 'C', 8);
    fields.add("LASTDATE", 'C', 8);
    fields.add("REASON", 'C', 1);
    fields.add("TEXT", 'C', kTextWidth);
    Tag4info tags;
    tags.add(kTagName, "DATEMADE+TIMEMADE+MADESECS+ROOMNAME+STARTHH+STARTMM+KIND+DATE",
             ".NOT. DELETED()", res4unique);
    Data4* data = d4create(&m_code, m_tableName, fields, &tags);
    if (m_code.errorCode != 0) return m_code.errorCode;
    if (!data) return CTableOps::openFailure(m_code);
    d4close(data);
    return openTable();
}

int CSeriesRules::open(const std::string& groupFile) {
    if (!groupFile.empty()) m_tableName = CTableNames::series(groupFile);
    if (m_data) close();
    return openTable();
}

int CSeriesRules::openIfThere(const std::string& groupFile) {
    if (m_data) return 0;
    return CTableOps::openQuietly(m_code, [&] { return open(groupFile); });
}

int CSeriesRules::openOrCreate(const std::string& groupFile) {
    if (m_data) return 0;
    return CTableOps::openOrCreate(
        m_code, [&] { return open(groupFile); }, [&] { return create(groupFile); });
}

int CSeriesRules::openTable() {
    return CTableOps::openBound(
        m_code, m_tableName, kTagName, kUniqueTag, m_data, m_tag,
        [this] {
            bindFields();
            const int rc = CTableOps::bindResult(m_code);
            return rc == 0 && (!m_kind || !m_text || !m_lastDate) ? e4fieldName : rc;
        },
        [this] { close(); });
}

int CSeriesRules::close() {
    if (!m_data) return 0;
    const int rc = d4close(m_data);
    m_data = nullptr;
    m_tag = nullptr;
    m_dateMade = m_timeMade = m_madeSecs = m_roomName = m_startHH = m_startMM = nullptr;
    m_kind = m_date = m_lastDate = m_reason = m_text = nullptr;
    return rc;
}

void CSeriesRules::bindFields() {
    m_dateMade = d4field(m_data, "DATEMADE");
    m_timeMade = d4field(m_data, "TIMEMADE");
    m_madeSecs = d4field(m_data, "MADESECS");
    m_roomName = d4field(m_data, "ROOMNAME");
    m_startHH = d4field(m_data, "STARTHH");
    m_startMM = d4field(m_data, "STARTMM");
    m_kind = d4field(m_data, "KIND");
    m_date = d4field(m_data, "DATE");
    m_lastDate = d4field(m_data, "LASTDATE");
    m_reason = d4field(m_data, "REASON");
    m_text = d4field(m_data, "TEXT");
}

std::string CSeriesRules::seriesKey(const CScheduleRecord& m) {
    return CFieldText::dateKey(m.madeYear(), m.madeMonth(), m.madeDay()) +
           CFieldText::zeroPadded(m.madeHour(), 2) + CFieldText::zeroPadded(m.madeMinute(), 2) +
           CFieldText::zeroPadded(m.madeSeconds(), 2) + CFieldText::padRight(m.itemName(), 20) +
           CFieldText::zeroPadded(m.startHour(), 2) + CFieldText::zeroPadded(m.startMinute(), 2);
}

std::string CSeriesRules::seriesPrefix(const CScheduleRecord& m) {
    return seriesKey(m).substr(0, kSeriesPrefixLength);
}

void CSeriesRules::readImage() {
    m_image = CSeriesRow();
    for (Field4* f : {m_dateMade, m_timeMade, m_madeSecs, m_roomName, m_startHH, m_startMM})
        m_image.series += f4str(f);
    const std::string kind = CTableOps::text(m_kind);
    m_image.kind = kind.empty() ? ' ' : kind[0];
    CFieldText::splitDate(f4str(m_date), m_image.date.year, m_image.date.month, m_image.date.day);
    CFieldText::splitDate(f4str(m_lastDate), m_image.lastDate.year, m_image.lastDate.month,
                          m_image.lastDate.day);
    const std::string reason = CTableOps::text(m_reason);
    m_image.reason = reason.empty() ? ' ' : reason[0];
    m_image.text = CTableOps::text(m_text);
}

void CSeriesRules::writeRow(const CSeriesRow& row) {
    const std::string k = CFieldText::padRight(row.series, kSeriesKeyLength);
    CTableOps::assign(m_dateMade, k.substr(0, 8));
    CTableOps::assign(m_timeMade, k.substr(8, 4));
    CTableOps::assign(m_madeSecs, k.substr(12, 2));
    CTableOps::assign(m_roomName, k.substr(14, 20));
    CTableOps::assign(m_startHH, k.substr(34, 2));
    CTableOps::assign(m_startMM, k.substr(36, 2));
    CTableOps::assign(m_kind, std::string(1, row.kind));
    CTableOps::assign(m_date, dateOrZeros(row.date));
    CTableOps::assign(m_lastDate, dateOrZeros(row.lastDate));
    CTableOps::assign(m_reason, std::string(1, row.reason));
    CTableOps::assign(m_text, row.text.substr(0, kTextWidth));
}

int CSeriesRules::seekSeries(const std::string& key) {
    return seekKey(key, true);
}

int CSeriesRules::rowsOf(const std::string& key, std::vector<CSeriesRow>& rows) {
    rows.clear();
    int rc = seekSeries(key);
    while (rc == 0 && m_image.series.compare(0, key.size(), key) == 0) {
        rows.push_back(m_image);
        rc = next();
    }
    return rc == res4eof || rc == res4after || rc == 0 ? 0 : rc;
}

int CSeriesRules::append(const std::vector<CSeriesRow>& rows) {
    if (!m_data) return e4parmNull;
    for (const CSeriesRow& row : rows) {
        const int rc = CTableOps::appendRecord(m_data, [&] { writeRow(row); });
        if (rc != 0 && rc != res4unique) return rc;
    }
    return 0;
}

int CSeriesRules::deleteSeries(const std::string& key, bool (*keep)(const CSeriesRow&)) {
    int rc = seekSeries(key);
    while (rc == 0 && m_image.series.compare(0, key.size(), key) == 0) {
        if (!keep || !keep(m_image)) {
            rc = CTableOps::deleteRecord(m_data);
            if (rc != 0) return rc;
            // The deleted row left the tag: seek the series again.
            rc = seekSeries(key);
            continue;
        }
        rc = next();
    }
    return rc < 0 ? rc : 0;
}

int CSeriesRules::deleteRow(const std::string& key, char kind, const CDate& date) {
    const std::string rowKey = CFieldText::padRight(key, kSeriesKeyLength) + kind + date.key();
    const int rc = seekKey(rowKey, false);
    if (rc != 0) return rc < 0 ? rc : 0;
    return CTableOps::deleteRecord(m_data);
}

int CSeriesRules::deleteEndedBefore(const std::string& dateKey) {
    std::set<std::string> ended;
    int rc = first();
    while (rc == 0) {
        if (m_image.kind == CSeriesRow::kRule && m_image.lastDate.key() < dateKey)
            ended.insert(m_image.series);
        rc = next();
    }
    if (rc < 0) return rc;
    int count = 0;
    for (const std::string& key : ended) {
        std::vector<CSeriesRow> rows;
        rowsOf(key, rows);
        rc = deleteSeries(key);
        if (rc < 0) return rc;
        count += static_cast<int>(rows.size());
    }
    return count;
}

int CSeriesRules::lockAll() {
    return m_data ? d4lockAll(m_data) : e4parmNull;
}

int CSeriesRules::unlock() {
    return m_data ? d4unlock(m_data) : e4parmNull;
}

} // namespace orv
