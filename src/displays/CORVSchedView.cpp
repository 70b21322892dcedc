#include "displays/CORVSchedView.h"

#include "group/CORVSchedDoc.h"

#include <QWidget>

namespace orv {

CORVSchedView::CORVSchedView(std::shared_ptr<CORVSchedDoc> doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(std::move(doc)) {
    m_doc->addObserver(this);
}

CORVSchedView::~CORVSchedView() { m_doc->removeObserver(this); }

bool CORVSchedView::handles(Command) const { return false; }

bool CORVSchedView::isEnabled(Command) const { return true; }

void CORVSchedView::run(Command) {}

void CORVSchedView::documentChanged() { viewport()->update(); }

} // namespace orv
