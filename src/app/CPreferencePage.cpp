#include "app/CPreferencePage.h"

namespace orv {

CPreferencePage::CPreferencePage(const QString& title, const QString& helpTopic, QWidget* parent)
    : QWidget(parent), m_title(title), m_helpTopic(helpTopic) {}

std::optional<int> CPreferencePage::parseInteger(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
    if (i == t.size()) return std::nullopt;
    for (int j = i; j < t.size(); ++j)
        if (t[j] < QLatin1Char('0') || t[j] > QLatin1Char('9')) return std::nullopt;
    bool ok = false;
    const int value = t.toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

} // namespace orv
