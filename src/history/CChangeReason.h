#pragma once
// A reason the user typed in a dialog goes with the changes made from it, until their history
// entries are written (the scope outlives the change's journal recording), and no further.
// Without one, the reason the caller gave (the command line's --reason) stays.

#include "group/CORVSchedDoc.h"

#include <string>

namespace orv {

class CChangeReason {
public:
    CChangeReason(CORVSchedDoc& doc, const std::string& reason)
        : m_doc(doc), m_before(doc.changeReason()), m_set(!reason.empty()) {
        if (m_set) m_doc.setChangeReason(reason);
    }
    ~CChangeReason() {
        if (m_set) m_doc.setChangeReason(m_before);
    }
    CChangeReason(const CChangeReason&) = delete;
    CChangeReason& operator=(const CChangeReason&) = delete;

private:
    CORVSchedDoc& m_doc;
    std::string m_before;
    bool m_set;
};

} // namespace orv
