#pragma once
// Steps the three record classes share around opening and packing their tables.

#include "storage/Data4.h"
#include "tables/CFieldText.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace orv {

class CTableOps {
public:
    // Holds the flushes to disk of a context's tables (code4syncHold) for a run of writes that
    // belong together, such as the members of a series: the writes reach the files, and so the
    // other users, as before; the disk flush comes once, at release().
    class SyncHold {
    public:
        explicit SyncHold(Code4& code) : m_code(&code) { code4syncHold(m_code); }
        ~SyncHold() { release(); }
        SyncHold(const SyncHold&) = delete;
        SyncHold& operator=(const SyncHold&) = delete;
        // The flush's failure, or 0. Once; later calls return 0.
        int release() {
            Code4* code = m_code;
            m_code = nullptr;
            return code ? code4syncRelease(code) : 0;
        }

    private:
        Code4* m_code;
    };

    // Compress reports this when the table could not be had for exclusive use.
    static constexpr int kInUse = 4;

    // The code a failed d4open or d4create leaves: the pending error, else the cause of the
    // failed open, else e4open.
    static int openFailure(const Code4& code);

    // Packs the closed table `name`: opens it exclusively, selects `tagName` (with res4unique
    // when `uniqueTag`), takes d4lockAll, d4pack, d4close; the share mode is shared again
    // afterwards. Returns 0 when packed, kInUse when the exclusive open failed, else what the
    // lock, the pack or the close returned. A pending error is cleared so that the caller can
    // reopen the table for shared use.
    static int pack(Code4& code, const std::string& name, const char* tagName, bool uniqueTag);

    // The open every record class makes: d4open of `name` into `data`, `tagName` selected into
    // `tag` (res4unique when `uniqueTag`), then `bind()` (binds the fields; 0 or the failure).
    // On any failure `close()` runs and the failure is returned.
    template <class Bind, class Close>
    static int openBound(Code4& code, const std::string& name, const char* tagName, bool uniqueTag,
                         Data4*& data, Tag4*& tag, Bind bind, Close close) {
        data = d4open(&code, name);
        if (!data) return openFailure(code);
        int rc = selectTag(code, data, tagName, uniqueTag, &tag);
        if (rc == 0) rc = bind();
        if (rc != 0) close();
        return rc;
    }

    // The open of a table of this program's own that a group may lack (made before it, or by
    // another program): `open()` with the context's open reports off; a failure is taken off
    // the context and returned.
    template <class Open> static int openQuietly(Code4& code, Open open) {
        const int report = code.reportOpenErrors;
        code.reportOpenErrors = 0;
        const int rc = open();
        code.reportOpenErrors = report;
        if (rc != 0) error4take(&code);
        return rc;
    }
    // That open, else `create()`; a failed create is taken off the context and returned.
    template <class Open, class Create>
    static int openOrCreate(Code4& code, Open open, Create create) {
        if (openQuietly(code, open) == 0) return 0;
        const int rc = create();
        if (rc != 0) error4take(&code);
        return rc;
    }

    // The create of the record classes that keep the new table open: d4create of `name` into
    // `data`, `tagName` selected into `tag`, then `bind()`. The context's error afterwards.
    template <class Bind>
    static int createBound(Code4& code, const std::string& name, const Field4info& fields,
                           const Tag4info& tags, const char* tagName, Data4*& data, Tag4*& tag,
                           Bind bind) {
        Data4* made = d4create(&code, name, fields, &tags);
        if (code.errorCode != 0) return code.errorCode;
        if (!made) return openFailure(code);
        data = made;
        tag = d4tag(data, tagName);
        d4tagSelect(data, tag);
        bind();
        return code.errorCode;
    }

    // Selects the tag `tagName` of a table just opened (unique handling res4unique when
    // `uniqueTag`). 0, or the failure; the caller then closes the table.
    static int selectTag(Code4& code, Data4* data, const char* tagName, bool uniqueTag, Tag4** tag);
    // What is left of an open after binding the fields: the pending error, or 0.
    static int bindResult(const Code4& code) { return code.errorCode < 0 ? code.errorCode : 0; }

    // Adds a record: append start, blank, `write` fills the buffer, append; the flush when the
    // append worked; always the unlock. The append's result (res4unique for a taken key), or
    // the flush's failure: a record that may not have reached the disk is not reported stored.
    template <class Write> static int appendRecord(Data4* data, Write write) {
        if (!data) return e4parmNull;
        d4appendStart(data, 0);
        d4blank(data);
        write();
        int rc = d4append(data);
        if (rc == res4success) rc = d4flush(data);
        unlockAfterWrite(data);
        return rc;
    }
    // Rewrites the current record: blank, `write`, flush, unlock. The flush's result. A refused
    // rewrite (a key another record holds) is dropped, so that the next move of the table does
    // not try to write it again; the caller reads the record again.
    template <class Write> static int updateRecord(Data4* data, Write write) {
        if (!data) return e4parmNull;
        d4blank(data);
        write();
        const int rc = d4flush(data);
        if (rc != 0) d4changed(data, 0);
        unlockAfterWrite(data);
        return rc;
    }
    // Locks the current record and reads it again from the file: another user may have changed
    // or deleted it since it was read. 0 with the record lock held; res4noRecord, unlocked, when
    // it is deleted now; else the failure, unlocked.
    static int relockCurrent(Data4* data);
    // Marks the current record deleted, flushed and unlocked. The flush's result; a delete whose
    // flush failed is dropped, as a refused rewrite is.
    static int deleteRecord(Data4* data);
    // The unlock that ends a write. It runs even after a failed flush left an error pending
    // (which would refuse it and keep other users locked out); the error stays pending.
    static void unlockAfterWrite(Data4* data);

    // Field access of the record images: a missing field (an older layout) is neither written
    // nor read; texts lose their trailing blanks, numbers take the leading digits.
    static void assign(Field4* field, const std::string& text) {
        if (field) f4assign(field, text);
    }
    static std::string text(const Field4* field);
    // The text without its trailing blanks where it lies in the record buffer (see f4view).
    // Inline: the lists read several fields of every record.
    static std::string_view trimmed(const Field4* field) {
        const std::string_view text = f4view(field);
        // Names are mostly blanks: eight at a time.
        std::size_t n = text.size();
        constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
        for (std::uint64_t word; n >= 8; n -= 8) {
            std::memcpy(&word, text.data() + n - 8, 8);
            if (word != kBlanks) break;
        }
        while (n > 0 && text[n - 1] == ' ')
            --n;
        return text.substr(0, n);
    }
    static int number(const Field4* field) { return CFieldText::decimal(f4view(field)); }
};

} // namespace orv
