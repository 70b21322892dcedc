#include "people/CImportPeopleModel.h"

namespace orv {

void CImportPeopleModel::selectAll() {
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i)
        selected.insert(i);
}

} // namespace orv
