#include "tables/CTableOps.h"

namespace orv {

int CTableOps::openFailure(const Code4& code) {
    if (code.errorCode != 0) return code.errorCode;
    if (code.lastOpenError != 0) return code.lastOpenError;
    return e4open;
}

int CTableOps::pack(Code4& code, const std::string& name, const char* tagName, bool uniqueTag) {
    code.openShareMode = 1;
    Data4* data = d4open(&code, name);
    int result = 0;
    if (!data) {
        result = kInUse;
    } else {
        Tag4* tag = d4tag(data, tagName);
        d4tagSelect(data, tag);
        if (tag && uniqueTag) t4uniqueSet(tag, res4unique);
        result = d4lockAll(data);
        if (result == 0) result = d4pack(data);
        const int closed = d4close(data);
        if (result == 0) result = closed;
    }
    code.openShareMode = 0;
    // The caller reopens the table for shared use, which a pending error would refuse.
    const int pending = error4take(&code);
    if (result == 0) result = pending;
    return result;
}

int CTableOps::selectTag(Code4& code, Data4* data, const char* tagName, bool uniqueTag,
                         Tag4** tag) {
    *tag = d4tag(data, tagName);
    if (!*tag) return code.errorCode != 0 ? code.errorCode : e4tagName;
    d4tagSelect(data, *tag);
    if (uniqueTag) t4uniqueSet(*tag, res4unique);
    return 0;
}

int CTableOps::deleteRecord(Data4* data) {
    if (!data) return e4parmNull;
    d4delete(data);
    const int rc = d4flush(data);
    // A delete that did not reach the file is dropped: the next move must not try it again.
    if (rc != 0) d4changed(data, 0);
    unlockAfterWrite(data);
    return rc;
}

int CTableOps::relockCurrent(Data4* data) {
    if (!data) return e4parmNull;
    const long record = d4recNo(data);
    if (record <= 0) return res4noRecord;
    int rc = d4lock(data, record);
    if (rc == 0) {
        d4changed(data, 0);
        rc = d4go(data, record);
    }
    if (rc == 0 && d4deleted(data)) rc = res4noRecord;
    if (rc != 0) d4unlock(data);
    return rc;
}

void CTableOps::unlockAfterWrite(Data4* data) {
    Code4& code = *data->code;
    const int pendingError = code.errorCode;
    if (pendingError < 0) code.errorCode = 0;
    d4unlock(data);
    if (pendingError < 0) code.errorCode = pendingError;
}

std::string CTableOps::text(const Field4* field) {
    return std::string(trimmed(field));
}

} // namespace orv
