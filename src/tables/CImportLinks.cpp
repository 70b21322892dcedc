#include "tables/CImportLinks.h"

#include "tables/CFieldText.h"
#include "tables/CTableNames.h"
#include "tables/CTableOps.h"

#include <cstdio>
#include <cstdlib>

namespace orv {

namespace {
const char* const kImportFieldNames[] = {"UID",      "DATE",     "ROOMNAME", "STARTHH",  "STARTMM",
                                         "DATEMADE", "TIMEMADE", "MADESECS", "SEQUENCE", "DIGEST"};
const int kImportFieldWidths[] = {CImportLinks::kUidWidth, 8, 20, 2, 2, 8, 4, 2, 10, 16};
constexpr std::size_t kImportFieldCount = std::size(kImportFieldWidths);
} // namespace

int CImportLinks::create(const std::string& groupFile) {
    m_tableName = CTableNames::imports(groupFile);
    Field4info fields;
    for (std::size_t i = 0; i < kImportFieldCount; ++i)
        fields.add(kImportFieldNames[i], 'C', kImportFieldWidths[i]);
    Tag4info tags;
    tags.add(kTagName, "UID+DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", res4unique);
    Data4* data = d4create(&m_code, m_tableName, fields, &tags);
    if (m_code.errorCode != 0) return m_code.errorCode;
    if (!data) return CTableOps::openFailure(m_code);
    d4close(data);
    return openTable();
}

int CImportLinks::openIfThere(const std::string& groupFile) {
    if (m_data) return 0;
    m_tableName = CTableNames::imports(groupFile);
    return CTableOps::openQuietly(m_code, [this] { return openTable(); });
}

int CImportLinks::openOrCreate(const std::string& groupFile) {
    if (m_data) return 0;
    m_tableName = CTableNames::imports(groupFile);
    return CTableOps::openOrCreate(
        m_code, [this] { return openTable(); }, [&] { return create(groupFile); });
}

int CImportLinks::openTable() {
    return CTableOps::openBound(
        m_code, m_tableName, kTagName, kUniqueTag, m_data, m_tag,
        [this] {
            m_fields.clear();
            for (const char* name : kImportFieldNames)
                m_fields.push_back(d4field(m_data, name));
            int rc = CTableOps::bindResult(m_code);
            for (Field4* f : m_fields)
                if (rc == 0 && !f) rc = e4fieldName;
            return rc;
        },
        [this] { close(); });
}

int CImportLinks::close() {
    if (!m_data) return 0;
    const int rc = d4close(m_data);
    m_data = nullptr;
    m_tag = nullptr;
    m_fields.clear();
    return rc;
}

std::string CImportLinks::storedUid(const std::string& uid) {
    bool plain = uid.size() <= static_cast<std::size_t>(kUidWidth) && !uid.empty() && uid[0] != '#';
    for (unsigned char c : uid)
        if (c < 0x20 || c >= 0x7F) plain = false;
    if (plain) return uid;
    return "#" + CFieldText::digest(uid);
}

void CImportLinks::readImage() {
    m_image = CImportLink();
    m_image.uid = CTableOps::text(m_fields[0]);
    m_image.date = CTableOps::text(m_fields[1]);
    m_image.item = CTableOps::text(m_fields[2]);
    m_image.startHour = std::atoi(CTableOps::text(m_fields[3]).c_str());
    m_image.startMinute = std::atoi(CTableOps::text(m_fields[4]).c_str());
    m_image.made = f4str(m_fields[5]) + f4str(m_fields[6]) + f4str(m_fields[7]);
    m_image.sequence = std::atol(CTableOps::text(m_fields[8]).c_str());
    m_image.digest = CTableOps::text(m_fields[9]);
}

int CImportLinks::rowsOf(const std::string& uid, std::vector<CImportLink>& rows) {
    rows.clear();
    const std::string key = CFieldText::padRight(uid, kUidWidth);
    int rc = seekKey(key, true);
    while (rc == 0 && m_image.uid == uid) {
        rows.push_back(m_image);
        rc = next();
    }
    return rc == res4eof || rc == res4after || rc == 0 ? 0 : rc;
}

int CImportLinks::append(const std::vector<CImportLink>& rows) {
    if (!m_data) return e4parmNull;
    for (const CImportLink& row : rows) {
        const std::string made = CFieldText::padRight(row.made, 14);
        const std::string values[] = {row.uid,
                                      row.date,
                                      row.item,
                                      CFieldText::zeroPadded(row.startHour, 2),
                                      CFieldText::zeroPadded(row.startMinute, 2),
                                      made.substr(0, 8),
                                      made.substr(8, 4),
                                      made.substr(12, 2),
                                      std::to_string(row.sequence),
                                      row.digest};
        const int rc = CTableOps::appendRecord(m_data, [&] {
            for (std::size_t i = 0; i < kImportFieldCount; ++i)
                CTableOps::assign(m_fields[i], values[i]);
        });
        if (rc != 0 && rc != res4unique) return rc;
    }
    return 0;
}

int CImportLinks::deleteRows(const std::string& uid) {
    const std::string key = CFieldText::padRight(uid, kUidWidth);
    int rc = seekKey(key, true);
    while (rc == 0 && m_image.uid == uid) {
        rc = CTableOps::deleteRecord(m_data);
        if (rc != 0) return rc;
        rc = seekKey(key, true);
    }
    return rc < 0 ? rc : 0;
}

} // namespace orv
