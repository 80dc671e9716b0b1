#pragma once

#include "admin/core/messagelog.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace admin {

// The mail log as read, compact whatever its shape (admin/core/messagelog.h); beyond its size limit only
// the newest part is read, and its problem says so.
LogText loadLogText(const QString &serverName);

// The mail log of "\\" + server + "\ぺるみな\管理データ\管理用\メッセージ一覧.txt" as lines; empty when
// it cannot be read.
QStringList readMessageLog(const QString &serverName);
// The fields of 管理情報.txt in file order; empty when it cannot be read (problem, when given, then
// names a file refused as too large or not a regular file).
QStringList readUserEntries(const QString &serverName, QString *problem = nullptr);

// The text the mail display shows: every line followed by a line end, in file order.
QString messageLogText(const QStringList &lines, const QString &lineEnd = QStringLiteral("\r\n"));

// Folders are paths of this computer, from site::adminFolder(server) down.
// Subfolders of folder, sorted by name ignoring case; nothing when the folder cannot be read.
std::optional<QStringList> listSubfolders(const QString &folder);
// Files of folder whose names match "*.jpg*" in any letter case, sorted by name ignoring case; nothing
// when the folder cannot be read.
std::optional<QStringList> listPictureFiles(const QString &folder);
bool matchesPicturePattern(const QString &fileName);

// folder + "/" + name; a folder that already ends in a separator (a drive root) gets no second one.
QString childPath(const QString &folder, const QString &name);
// The last part of a folder's path, which a folder list shows.
QString folderName(const QString &folder);
// The folders from root down to folder, root first, as a folder list shows them above the open folder's
// subfolders; root alone when folder is not below it.
QStringList folderChain(const QString &root, const QString &folder);

} // namespace admin
