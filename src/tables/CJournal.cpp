#include "tables/CJournal.h"

#include "tables/CDate.h"
#include "tables/CFieldText.h"
#include "tables/CTableNames.h"
#include "tables/CTableOps.h"

namespace orv {

namespace {

struct FieldSpec {
    const char* name;
    int width;
};
constexpr FieldSpec kFields[CJournal::kFieldCount] = {
    {"ENTRY", 8},     {"PART", 3},    {"BATCH", 8},   {"DATE", 8},      {"TIME", 6},
    {"USERNAME", 20}, {"HOST", 24},   {"KIND", 16},   {"TABLENAME", 6}, {"RECKEY", 50},
    {"BEFORE", 254},  {"AFTER", 254}, {"REASON", 60}, {"UNDOES", 8},
};
enum Field {
    kEntry,
    kPart,
    kBatch,
    kDate,
    kTime,
    kUser,
    kHost,
    kKind,
    kTable,
    kKey,
    kBefore,
    kAfter,
    kReason,
    kUndoes
};

std::string number(long value, int width) {
    return value > 0 ? CFieldText::zeroPadded(value, width) : std::string();
}

} // namespace

int CJournal::create(const std::string& groupFile) {
    m_tableName = CTableNames::journal(groupFile);
    Field4info fields;
    for (const FieldSpec& f : kFields)
        fields.add(f.name, 'C', f.width);
    Tag4info tags;
    tags.add(kTagName, "DATE+TIME+ENTRY+PART", ".NOT. DELETED()", 0);
    return CTableOps::createBound(m_code, m_tableName, fields, tags, kTagName, m_data, m_tag,
                                  [this] { bindFields(); });
}

int CJournal::open(const std::string& groupFile) {
    if (!groupFile.empty()) m_tableName = CTableNames::journal(groupFile);
    if (m_data) close();
    return openTable();
}

int CJournal::openOrCreate(const std::string& groupFile) {
    const int opened = open(groupFile);
    if (opened == 0) return 0;
    error4take(&m_code);
    // Only a journal that is not there is made; one that is there but will not open stays.
    if (m_code.lastOpenError != e4fileFind) return opened;
    const int created = create(groupFile);
    if (created != 0) {
        error4take(&m_code);
        close();
    }
    return created;
}

int CJournal::openTable() {
    return CTableOps::openBound(
        m_code, m_tableName, kTagName, false, m_data, m_tag,
        [this] {
            bindFields();
            return CTableOps::bindResult(m_code);
        },
        [this] { close(); });
}

int CJournal::close() {
    if (!m_data) return 0;
    const int rc = d4close(m_data);
    m_data = nullptr;
    m_tag = nullptr;
    m_fields.clear();
    return rc;
}

void CJournal::bindFields() {
    m_fields.clear();
    for (const FieldSpec& f : kFields)
        m_fields.push_back(d4field(m_data, f.name));
}

void CJournal::readImage() {
    auto text = [this](Field f) { return CTableOps::text(m_fields[f]); };
    auto value = [this](Field f) { return CTableOps::number(m_fields[f]); };
    m_image.entry = value(kEntry);
    m_image.part = value(kPart);
    m_image.batch = value(kBatch);
    m_image.date = text(kDate);
    m_image.time = text(kTime);
    m_image.user = text(kUser);
    m_image.host = text(kHost);
    m_image.kind = text(kKind);
    m_image.table = text(kTable);
    m_image.key = text(kKey);
    m_image.before = text(kBefore);
    m_image.after = text(kAfter);
    m_image.reason = text(kReason);
    m_image.undoes = value(kUndoes);
}

void CJournal::writeRow(const CJournalRow& row) {
    CTableOps::assign(m_fields[kEntry], number(row.entry, 8));
    CTableOps::assign(m_fields[kPart], CFieldText::zeroPadded(row.part, 3));
    CTableOps::assign(m_fields[kBatch], number(row.batch, 8));
    CTableOps::assign(m_fields[kDate], row.date);
    CTableOps::assign(m_fields[kTime], row.time);
    CTableOps::assign(m_fields[kUser], row.user);
    CTableOps::assign(m_fields[kHost], row.host);
    CTableOps::assign(m_fields[kKind], row.kind);
    CTableOps::assign(m_fields[kTable], row.table);
    CTableOps::assign(m_fields[kKey], row.key);
    CTableOps::assign(m_fields[kBefore], row.before);
    CTableOps::assign(m_fields[kAfter], row.after);
    CTableOps::assign(m_fields[kReason], row.reason);
    CTableOps::assign(m_fields[kUndoes], number(row.undoes, 8));
}

long CJournal::lastEntry() {
    const long count = d4recCount(m_data);
    if (count <= 0) return 0;
    if (d4go(m_data, count) != 0) return -1;
    return CTableOps::number(m_fields[kEntry]);
}

int CJournal::appendEntries(std::vector<std::vector<CJournalRow>>& entries, long batch) {
    if (!m_data) return e4parmNull;
    int rc = d4lockAppend(m_data);
    long entry = rc == 0 ? lastEntry() : 0;
    if (entry < 0) rc = m_code.errorCode != 0 ? m_code.errorCode : e4read;
    for (auto& rows : entries) {
        if (rc != 0) break;
        ++entry;
        if (batch == 0) batch = entry;
        int part = 0;
        for (CJournalRow& row : rows) {
            row.entry = entry;
            row.part = part++;
            row.batch = batch;
            d4appendStart(m_data, 0);
            d4blank(m_data);
            writeRow(row);
            rc = d4append(m_data);
            if (rc != 0) break;
        }
    }
    CTableOps::unlockAfterWrite(m_data);
    return rc;
}

int CJournal::appendCopies(const std::vector<CJournalRow>& rows) {
    if (!m_data) return e4parmNull;
    int rc = d4lockAppend(m_data);
    const long last = rc == 0 ? lastEntry() : 0;
    if (last < 0) rc = m_code.errorCode != 0 ? m_code.errorCode : e4read;
    for (const CJournalRow& original : rows) {
        if (rc != 0) break;
        CJournalRow row = original;
        row.entry += last;
        row.batch += last;
        if (row.undoes != 0) row.undoes += last;
        d4appendStart(m_data, 0);
        d4blank(m_data);
        writeRow(row);
        rc = d4append(m_data);
    }
    if (rc == 0) rc = d4flush(m_data);
    CTableOps::unlockAfterWrite(m_data);
    return rc;
}

int CJournal::appendFrom(const std::string& otherGroupFile) {
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    code.reportOpenErrors = 0;
    CJournal other(code);
    std::vector<CJournalRow> rows;
    int rc = 0;
    if (other.open(otherGroupFile) == 0) {
        rc = other.readAll(rows);
        other.close();
    }
    code4initUndo(&code);
    if (rc == 0 && !rows.empty()) rc = appendCopies(rows);
    error4take(&m_code);
    return rc;
}

int CJournal::readAll(std::vector<CJournalRow>& rows) {
    rows.clear();
    int rc = first();
    for (; rc == res4success; rc = next())
        rows.push_back(m_image);
    return rc == res4eof ? 0 : rc;
}

int CJournal::trim(int keepDays) {
    if (!m_data) return e4parmNull;
    int rc = 0;
    if (keepDays > 0) {
        const int deleted = deleteBefore(CDate::today().addDays(-keepDays).key());
        if (deleted < 0) rc = deleted;
    }
    if (rc == 0) rc = compress();
    error4take(&m_code);
    return rc;
}

int CJournal::deleteBefore(const std::string& dateKey) {
    if (!m_data) return e4parmNull;
    int deleted = 0;
    int rc = first();
    while (rc == res4success && m_image.date < dateKey) {
        const long record = d4recNo(m_data);
        rc = d4lock(m_data, record);
        if (rc == 0) rc = CTableOps::deleteRecord(m_data);
        if (rc != 0) break;
        ++deleted;
        // The deleted row left the tag: the first row now is the next one.
        rc = first();
    }
    if (rc != res4success && rc != res4eof) return rc < 0 ? rc : -rc;
    return deleted;
}

} // namespace orv
