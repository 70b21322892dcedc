#include "exports/CExportModel.h"

#include "group/CORVSchedDoc.h"
#include "group/CWaitCursor.h"
#include "storage/Code4.h"

namespace orv {

CExportModel::CExportModel(CORVSchedDoc& doc)
    : from(CDate::today()), to(from.addDays(30)), m_doc(doc) {
    std::vector<CPeopleRecord> people;
    // A failed read leaves fewer people to pick from; the export itself reads what it needs
    // again and reports its own failures.
    error4take(&doc.code(), doc.people().listPeople(CPeople::Kind::MayReserve, people));
    for (const CPeopleRecord& p : people) {
        m_people.push_back({p.listLine(), p.recordNumber()});
        m_keys.push_back(p.key());
    }
}

std::vector<std::string> CExportModel::itemNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < m_doc.items().count(); ++i)
        names.push_back(m_doc.items().at(i).name());
    return names;
}

CExportFilter CExportModel::filter() const {
    CExportFilter f;
    f.from = from;
    f.to = to;
    for (int i : selectedItems)
        if (m_doc.items().isValidIndex(i)) f.items.push_back(m_doc.items().at(i).name());
    for (int line : selectedPeople)
        if (line >= 0 && line < static_cast<int>(m_keys.size()))
            f.people.push_back(m_keys[static_cast<std::size_t>(line)]);
    return f;
}

bool CExportModel::onOk(CUserPrompt& prompt) {
    if (to < from) {
        prompt.message(kBadRange, kTitle, PromptIcon::error);
        return false;
    }
    const bool ics = format == CCalendarExport::Format::ics;
    FileChoice choice;
    choice.title = kTitle;
    choice.defaultExtension = ics ? "ics" : "csv";
    choice.initialName = m_doc.description().empty()
                             ? std::string(ics ? "Reservations.ics" : "Reservations.csv")
                             : m_doc.description() + (ics ? ".ics" : ".csv");
    choice.filter = kFilter;
    choice.mustExist = false;
    const auto path = prompt.chooseFile(choice);
    if (!path) return false;
    std::string text;
    int count = 0;
    int rc = 0;
    {
        CWaitCursor wait(prompt);
        m_doc.reopenTablesIfSet();
        rc = CCalendarExport::render(m_doc, filter(), format, *path, text, &count, floating);
    }
    if (rc != 0) {
        prompt.message(CCalendarExport::notReadMessage(rc), kTitle, PromptIcon::error);
        return false;
    }
    m_exported = count;
    std::string error;
    if (!CCalendarExport::writeFile(*path, text, error)) {
        prompt.message(error, kTitle, PromptIcon::error);
        return false;
    }
    prompt.message(std::to_string(m_exported) +
                       (m_exported == 1 ? " reservation was" : " reservations were") +
                       " exported to " + *path,
                   kTitle, PromptIcon::information);
    return true;
}

} // namespace orv
