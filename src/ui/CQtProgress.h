#pragma once
// The desktop's progress: a modal QProgressDialog that appears only when the work has run for
// half a second, so short work shows nothing.

#include "group/CProgress.h"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace orv {

class CQtProgress : public CProgress {
public:
    static constexpr int kShowAfterMs = 500;
    static constexpr int kScale = 1000;

    CQtProgress(const QString& label, bool cancellable, QWidget* parent);
    ~CQtProgress() override;

    bool step(long done, long total) override;
    QProgressDialog& dialog() { return m_dialog; }

private:
    QProgressDialog m_dialog;
    QElapsedTimer m_sinceUpdate;
};

} // namespace orv
