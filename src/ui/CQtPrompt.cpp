#include "ui/CQtPrompt.h"

#include "tables/Cp1252.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtProgress.h"
#include "ui/ColorRef.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace orv {
namespace {

QMessageBox::Icon qtIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::error:
        return QMessageBox::Critical;
    case PromptIcon::question:
        return QMessageBox::Question;
    case PromptIcon::information:
        return QMessageBox::Information;
    case PromptIcon::warning:
        return QMessageBox::Warning;
    case PromptIcon::none:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

CQtPrompt::CQtPrompt(QWidget* parent) : m_parent(parent) {}

CQtPrompt::~CQtPrompt() {
    while (m_waitDepth > 0)
        waitCursor(false);
}

QString CQtPrompt::toQt(std::string_view stored) {
    return QString::fromStdString(cp1252ToUtf8(stored));
}

std::string CQtPrompt::toStored(const QString& text) {
    return utf8ToCp1252(text.toStdString());
}

QWidget* CQtPrompt::parentWidget() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (m_parent) return m_parent;
    return QApplication::activeWindow();
}

void CQtPrompt::message(const std::string& text, const std::string& title, PromptIcon icon) {
    QMessageBox box(qtIcon(icon), toQt(title), toQt(withSystemReason(text, icon)), QMessageBox::Ok,
                    parentWidget());
    box.exec();
}

bool CQtPrompt::ask(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, toQt(title), toQt(text),
                    QMessageBox::Yes | QMessageBox::No, parentWidget());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString CQtPrompt::toQtFilter(const std::string& filter) {
    const QStringList parts = toQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        if (name.isEmpty()) break;
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const int open = name.lastIndexOf(QLatin1Char('('));
        if (open < 0 || !name.endsWith(QLatin1Char(')'))) {
            name += QStringLiteral(" (%1)").arg(patterns);
        }
        // "*.*" would only match names with a dot.
        name.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << name;
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> CQtPrompt::chooseFile(const FileChoice& choice) {
    QFileDialog dialog(parentWidget(), toQt(choice.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (choice.mustExist) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    const QString filter = toQtFilter(choice.filter);
    if (!filter.isEmpty()) dialog.setNameFilter(filter);
    if (!choice.defaultExtension.empty()) dialog.setDefaultSuffix(toQt(choice.defaultExtension));
    if (!choice.folder.empty()) dialog.setDirectory(QFile::decodeName(choice.folder.c_str()));
    const QString initial = toQt(choice.initialName);
    // A pattern such as "*people.dbf" already is the first filter, not a name to propose.
    if (!initial.isEmpty() && !initial.contains(QLatin1Char('*')) &&
        !initial.contains(QLatin1Char('?')))
        dialog.selectFile(initial);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return std::string(QFile::encodeName(files.front()).constData());
}

std::unique_ptr<CProgress> CQtPrompt::progress(const std::string& label, bool cancellable) {
    return std::make_unique<CQtProgress>(toQt(label), cancellable, parentWidget());
}

bool CQtPrompt::runDialog(CDialogModel& model) {
    const CDialogRegistry::Factory* factory = CDialogRegistry::find(model.id());
    if (!factory) return false;
    std::unique_ptr<QDialog> dialog = (*factory)(model, *this, parentWidget());
    if (!dialog) return false;
    return dialog->exec() == QDialog::Accepted;
}

void CQtPrompt::waitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_waitDepth;
    } else if (m_waitDepth > 0) {
        QApplication::restoreOverrideCursor();
        --m_waitDepth;
    }
}

std::optional<int> CQtPrompt::chooseColor(int initial) {
    const QColor chosen = QColorDialog::getColor(colorFromStored(initial), parentWidget());
    if (!chosen.isValid()) return std::nullopt;
    return colorToStored(chosen);
}

} // namespace orv
