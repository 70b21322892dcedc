#include "ui/CQtProgress.h"

#include "group/CUserPrompt.h"

#include <QApplication>

#include <algorithm>

namespace orv {

CQtProgress::CQtProgress(const QString& label, bool cancellable, QWidget* parent)
    : m_dialog(label, cancellable ? QStringLiteral("Cancel") : QString(), 0, kScale, parent) {
    m_dialog.setWindowTitle(QString::fromLatin1(kAppTitle));
    m_dialog.setWindowModality(Qt::ApplicationModal);
    m_dialog.setMinimumDuration(kShowAfterMs);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    if (!cancellable) m_dialog.setCancelButton(nullptr);
    m_dialog.setValue(0);
    m_sinceUpdate.start();
}

CQtProgress::~CQtProgress() {
    m_dialog.close();
}

bool CQtProgress::step(long done, long total) {
    // Updating the dialog for each of a million records would cost more than the work.
    if (m_sinceUpdate.elapsed() < 40 && done < total) return !m_dialog.wasCanceled();
    m_sinceUpdate.restart();
    const long long scaled = total > 0 ? static_cast<long long>(done) * kScale / total : 0;
    m_dialog.setValue(static_cast<int>(std::clamp<long long>(scaled, 0, kScale - 1)));
    // Until the dialog shows (and, being modal, keeps input from the windows behind it), the
    // user's clicks and keys wait: they would start other work on the tables being walked.
    QApplication::processEvents(m_dialog.isVisible() ? QEventLoop::AllEvents
                                                     : QEventLoop::ExcludeUserInputEvents);
    return !m_dialog.wasCanceled();
}

} // namespace orv
