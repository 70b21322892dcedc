#pragma once
// Steps the three record classes share around opening and packing their tables.

#include "storage/Data4.h"

#include <string>

namespace orv {

class CTableOps {
public:
    // Compress reports this when the table could not be had for exclusive use.
    static constexpr int kInUse = 4;

    // The code a failed d4open or d4create leaves: the pending error, else the cause of the
    // failed open, else e4open.
    static int openFailure(const Code4& code);

    // Packs the closed table `name`: opens it exclusively, selects `tagName` (with res4unique
    // when `uniqueTag`), takes d4lockAll, d4pack, d4close; the share mode is shared again
    // afterwards. Returns 0, or kInUse when the exclusive open failed; the failed open's error
    // is cleared so that the caller can reopen the table for shared use.
    static int pack(Code4& code, const std::string& name, const char* tagName, bool uniqueTag);
};

} // namespace orv
