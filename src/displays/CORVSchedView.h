#pragma once
// The main window of one open group: its items as boxes, kept current by a one-minute timer,
// and the receiver of the group menu's commands.

#include "app/CGroupCommandTarget.h"
#include "group/CDocObserver.h"

#include <QAbstractScrollArea>

#include <memory>

namespace orv {

class CORVSchedDoc;

class CORVSchedView : public QAbstractScrollArea, public CGroupCommandTarget, public CDocObserver {
    Q_OBJECT
public:
    // Each view shares the document; the document goes with its last view.
    explicit CORVSchedView(std::shared_ptr<CORVSchedDoc> doc, QWidget* parent = nullptr);
    ~CORVSchedView() override;

    CORVSchedDoc& document() { return *m_doc; }
    const std::shared_ptr<CORVSchedDoc>& sharedDocument() const { return m_doc; }

    bool handles(Command command) const override;
    bool isEnabled(Command command) const override;
    void run(Command command) override;
    void documentChanged() override;

private:
    std::shared_ptr<CORVSchedDoc> m_doc;
};

} // namespace orv
