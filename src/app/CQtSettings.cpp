#include "app/CQtSettings.h"

namespace orv {
namespace {

QString findName(const QStringList& names, const QString& wanted) {
    for (const QString& n : names)
        if (n.compare(wanted, Qt::CaseInsensitive) == 0) return n;
    return wanted;
}

} // namespace

CQtSettings::CQtSettings()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, "Ostrand", "ORV Scheduler") {}

QString CQtSettings::storedName(const std::string& section, const std::string& key) {
    const QString group = findName(m_settings.childGroups(), QString::fromStdString(section));
    m_settings.beginGroup(group);
    const QString name = findName(m_settings.childKeys(), QString::fromStdString(key));
    m_settings.endGroup();
    return group + '/' + name;
}

int CQtSettings::readInt(const std::string& section, const std::string& key, int defaultValue) {
    const QVariant v = m_settings.value(storedName(section, key));
    if (!v.isValid()) return defaultValue;
    bool ok = false;
    const int value = v.toString().trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

std::string CQtSettings::readText(const std::string& section, const std::string& key) {
    return m_settings.value(storedName(section, key)).toString().toStdString();
}

void CQtSettings::writeInt(const std::string& section, const std::string& key, int value) {
    m_settings.setValue(storedName(section, key), value);
    m_settings.sync();
}

void CQtSettings::writeText(const std::string& section, const std::string& key,
                            const std::optional<std::string>& value) {
    const QString name = storedName(section, key);
    if (value)
        m_settings.setValue(name, QString::fromStdString(*value));
    else
        m_settings.remove(name);
    m_settings.sync();
}

} // namespace orv
