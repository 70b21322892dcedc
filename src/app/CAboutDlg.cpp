#include "app/CAboutDlg.h"

#include "ui/CAppIcons.h"
#include "ui/CHelpWindow.h"
#include "ui/CKeyboardAccess.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace orv {

CAboutDlg::CAboutDlg(const std::string& dataDir, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About ORV Scheduler"));
    auto* icon = new QLabel(this);
    icon->setPixmap(CAppIcons::app().pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("ORV Scheduler"), this);
    m_version = new QLabel(versionText(), this);
    m_version->setObjectName(QStringLiteral("version"));
    auto* samplesLabel =
        new QLabel(QStringLiteral("ORV Scheduler samples were installed in folder :"), this);
    m_samples = new QLineEdit(samplesText(dataDir), this);
    m_samples->setObjectName(QStringLiteral("samples"));
    m_samples->setReadOnly(true);
    m_samples->setMinimumWidth(320);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(m_version, 1, 1);
    layout->addWidget(samplesLabel, 2, 1);
    layout->addWidget(m_samples, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    attachHelp(this, help::kAbout);
    completeKeyboardAccess(this);
}

QString CAboutDlg::versionText() {
#if defined(ORV_VERSION_MAJOR) && defined(ORV_VERSION_MINOR)
    return QString::asprintf("Version %d.%02d", ORV_VERSION_MAJOR, ORV_VERSION_MINOR);
#else
    return QString();
#endif
}

QString CAboutDlg::samplesText(const std::string& dataDir) {
    if (dataDir.empty()) return QStringLiteral("Samples not installed");
    return QFile::decodeName(dataDir.c_str()) + QStringLiteral("/Samples/");
}

} // namespace orv
