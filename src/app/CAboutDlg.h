#pragma once
// "About ORV Scheduler": icon, version line, where the samples were installed, OK. Also shown for
// 1,500 ms as the start-up notice.

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;

namespace orv {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // `dataDir` is the stored "Data"/"DataDir" (a native path, may be empty).
    explicit CAboutDlg(const std::string& dataDir, QWidget* parent = nullptr);

    // "Version 3.05" for version 3.5.
    static QString versionText();
    // dataDir + "/Samples/", or "Samples not installed".
    static QString samplesText(const std::string& dataDir);

    QLabel* versionLabel() const { return m_version; }
    QLineEdit* samplesField() const { return m_samples; }

private:
    QLabel* m_version;
    QLineEdit* m_samples;
};

} // namespace orv
