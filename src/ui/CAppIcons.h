#pragma once
// The program icon and the toolbar pictures, drawn at run time so that no image files need to be
// kept in step with the commands.

#include <QIcon>

namespace orv {

class CAppIcons {
public:
    static QIcon app();
    static QIcon newGroup();
    static QIcon openGroup();
    static QIcon addPerson();
    static QIcon addItem();
    static QIcon dayReservations();
    static QIcon print();
    static QIcon about();
    static QIcon contextHelp();
};

} // namespace orv
