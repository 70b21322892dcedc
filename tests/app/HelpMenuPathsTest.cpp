// Every menu path a help page names ("<i>File &gt; Open Group</i>") is an entry of the menu bar
// in the state the page describes: without a group for the pages a new user reads before a group
// is open (unless the path is marked as one of an open group), with a group for the others.
#include "app/CMainFrame.h"
#include "ui/CHelpWindow.h"
#include "ui/HelpTopics.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>

namespace orv {
namespace {

QString plain(QString text) {
    text = text.section(QLatin1Char('\t'), 0, 0);
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QLatin1String("..."))) text.chop(3);
    return text.trimmed();
}

std::set<QString> pathsOf(const std::vector<QMenu*>& menus) {
    std::set<QString> paths;
    for (QMenu* menu : menus)
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                paths.insert(plain(menu->title()) + QStringLiteral(" > ") + plain(a->text()));
    return paths;
}

TEST(HelpMenuPathsTest, EveryMenuPathInTheHelpExistsWhereThePageSaysItIs) {
    ensureHelpResources();
    CMainFrame frame;
    frame.appendTutorialToMainHelp();
    const std::set<QString> withoutGroup = pathsOf(frame.mainMenus());
    const std::set<QString> withGroup = pathsOf(frame.groupMenus());
    // Pages read while no group is open.
    const std::set<QString> noGroupPages = {"first_start", "main_window", "open_group",
                                            "new_group",   "about",       "contents"};
    const QRegularExpression path(QStringLiteral("<i( class=\"ingroup\")?>([^<]*&gt;[^<]*)</i>"));
    int checked = 0;
    for (const char* topic : help::kAllTopics) {
        QFile page(QStringLiteral(":/help/%1.html").arg(QLatin1String(topic)));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << topic;
        const QString html = QString::fromUtf8(page.readAll());
        for (auto it = path.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString named =
                m.captured(2).replace(QStringLiteral("&gt;"), QStringLiteral(">")).simplified();
            const bool noGroup =
                noGroupPages.count(QLatin1String(topic)) && m.captured(1).isEmpty();
            EXPECT_TRUE((noGroup ? withoutGroup : withGroup).count(named))
                << topic << ": \"" << named.toStdString() << "\" " << (noGroup ? "without" : "with")
                << " a group";
            ++checked;
        }
    }
    EXPECT_GT(checked, 25);
}

} // namespace
} // namespace orv
