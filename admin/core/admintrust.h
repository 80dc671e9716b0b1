#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace admin {

// On the staff-room server every pupil can write the data folder, so the administrator file there is
// believed only when nobody but the staff can have written it. The set-up of the server leaves the
// staff group's name in the local folder (c:\group\職員グループ.txt, which only root can write); without
// it the site is a local one (one computer, a demonstration) and the file is read as it is.
struct AdministratorFile
{
    std::optional<QStringList> fields; // the file's fields, when it was read and is to be believed
    QString refusal;                   // why it is not believed or not read, for the administrator
};

// Reads the administrator file as fields. In the server role it is refused, with a message naming the
// cause and what to do, when it is a link or not a regular file, has another name linked to it, is
// owned by an account that is neither root nor a member of the staff group, or may be written by the
// group or others, or when it is larger than its limit; it is read from the very file that was checked.
// Missing or unopenable, and in the local role anything that cannot be read: neither fields nor a
// refusal.
AdministratorFile readAdministratorFile(const QString &serverName);

} // namespace admin
