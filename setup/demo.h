#pragma once

#include "setup/site.h"

#include <QDate>
#include <QString>

namespace setup {

// The people of the demonstration site: user name, full name, password.
struct DemoUser
{
    QString userName;
    QString fullName;
    QString password;
};
const QList<DemoUser> &demoUsers();

// Fills a fresh site for a demonstration, through the same logic the programs use: a few pupils and a
// teacher registered, some mails between them, one illustration, a filled week of the daily and lunch
// boards around today and a filled month of events. People, mails and the picture are added only while
// nobody is registered yet, so running it again adds nothing twice. Needs a GUI application object (the
// illustration is signed with a font).
void addDemoContent(const QString &server, const QDateTime &now, Report &report);

} // namespace setup
