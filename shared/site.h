#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The site's layout: every path of the share and of the local folder, and the one rule for names that
// become a file or folder there. The system names these paths "\\SERVER\ぺるみな\..." and
// "c:\group\..."; the site:: functions below make that name and map it once (perumina::mapPath), so
// each returns a path of this computer, ready to open, and no other code maps or builds these paths.
// On Windows the path is the system's name itself.
namespace perumina {

// Tails of the shared paths as the system names them, each appended to "\\" + server name.
namespace tails {
inline const QString kShare = QStringLiteral("\\ぺるみな\\");
inline const QString kInboxTemplate = QStringLiteral("\\ぺるみな\\受信箱.txt");
inline const QString kFindFileClip = QStringLiteral("\\ぺるみな\\Findfile.avi");
inline const QString kDataFolder = QStringLiteral("\\ぺるみな\\管理データ\\");
inline const QString kFullNames = QStringLiteral("\\ぺるみな\\管理データ\\登録者一覧.txt");
inline const QString kCredentials = QStringLiteral("\\ぺるみな\\管理データ\\認証情報.txt");
inline const QString kAdminRecords = QStringLiteral("\\ぺるみな\\管理データ\\管理情報.txt");
inline const QString kUserNames = QStringLiteral("\\ぺるみな\\管理データ\\ユーザー名.txt");
inline const QString kAdministrators = QStringLiteral("\\ぺるみな\\管理データ\\管理者情報.txt");
inline const QString kAdminFolder = QStringLiteral("\\ぺるみな\\管理データ\\管理用\\");
inline const QString kMessageLog = QStringLiteral("\\ぺるみな\\管理データ\\管理用\\メッセージ一覧.txt");
} // namespace tails

// The system's names of the local folder's files of each computer (site::localFolder() and the
// functions below it give their paths here).
namespace local {
inline const QString kFolder = QStringLiteral("c:\\group\\");
inline const QString kLocator = QStringLiteral("c:\\group\\ぺるみな.txt");
inline const QString kInboxCopy = QStringLiteral("c:\\group\\受信箱.txt");
inline const QString kSweeper = QStringLiteral("c:\\group\\InboxSweep.exe");
// Written by the set-up of the staff-room server only: the name of the staff group. Its presence tells
// the administration program that the share is a school's, where pupils can write.
inline const QString kStaffGroup = QStringLiteral("c:\\group\\職員グループ.txt");
} // namespace local

// The system's name of a shared path: "\\" + server name + tail, exactly as given: nothing trimmed,
// nothing normalised. Not a path to open here; the site:: functions give those.
QString SharePath(const QString &serverName, const QString &tail);

namespace site {

// The board files in the data folder.
inline const QString kDateIndex = QStringLiteral("日付取得.txt");
inline const QString kDayEvents = QStringLiteral("行事予定.txt");
inline const QString kLunchMenu = QStringLiteral("給食予定.txt");
inline const QString kMonthIndex = QStringLiteral("年月取得.txt");
inline const QString kMonthEvents = QStringLiteral("月別行事.txt");
// The five files of one school year, and the folder of the data folder a past year's files move to.
QStringList schoolYearFiles();
QString pastYearFolder(int year); // "2026年度"

inline const QString kRegistrationNote = QStringLiteral("登録中.txt");
// The folder of the data folder where each open board keeps its presence mark (shared/boardpresence.h).
inline const QString kPresenceFolderName = QStringLiteral("開いているボード");
// The folder of the data folder that the folders of people who left move to.
inline const QString kRetiredFolder = QStringLiteral("退会者");

// Pictures are bitmaps named title + ".jpg".
inline const QString kPictureSuffix = QStringLiteral(".jpg");
// A file replaced whole is written first beside it as NAME.XXXXXX (six random characters) and then
// renamed over it, so this longer name must fit too.
inline constexpr int kReplacementSuffixLength = 7;
// The longest file or folder name, in characters on Windows and in UTF-8 bytes elsewhere.
inline constexpr int kMaxNameLength = 255;
// The inbox of a user folder, and the template every new one is copied from.
inline const QString kInboxName = QStringLiteral("受信箱.txt");
// The newest mail a person has read, on whichever computer: one line, its date and time.
inline const QString kMailReadMarkName = QStringLiteral("既読メール.txt");

// The paths below are named as the system names them; each comes back as the path of this computer
// (on Linux ROOT/unc/S/ぺるみな/... and ROOT/c/group/...), a folder "with the last \" ending in a
// separator.
QString share(const QString &serverName);         // \\S\ぺるみな\ (with the last "\")
QString inboxTemplate(const QString &serverName); // \\S\ぺるみな\受信箱.txt
QString findFileClip(const QString &serverName);  // \\S\ぺるみな\Findfile.avi
QString dataFolder(const QString &serverName);    // \\S\ぺるみな\管理データ\ (with the last "\")
// A file directly in the data folder (the board files).
QString dataFile(const QString &serverName, const QString &fileName);
QString fullNamesFile(const QString &serverName);      // 登録者一覧.txt
QString credentialsFile(const QString &serverName);    // 認証情報.txt
QString adminRecordsFile(const QString &serverName);   // 管理情報.txt
QString userNamesFile(const QString &serverName);      // ユーザー名.txt
QString administratorsFile(const QString &serverName); // 管理者情報.txt
// What a registration is writing, kept only while it writes: 登録中.txt in the data folder.
QString registrationNote(const QString &serverName);
// \\S\ぺるみな\管理データ\開いているボード\ (with the last "\"): the open boards' presence marks.
QString presenceFolder(const QString &serverName);
// \\S\ぺるみな\管理データ\管理用 (without the last "\", as a folder list names it).
QString adminFolder(const QString &serverName);
QString messageLog(const QString &serverName); // 管理用\メッセージ一覧.txt
// Where the folders of one person who left are kept: 管理データ\退会者\NAME-yyyyMMdd (without the
// last "\"); the user folder goes in as NAME, the administration copy folder as 管理用.
QString retiredArchive(const QString &serverName, const QString &fullName, const QDate &date);

// A person's folders are named by the full name: \\S\ぺるみな\管理データ\NAME and ...\管理用\NAME.
QString userFolder(const QString &serverName, const QString &fullName);
QString adminCopyFolder(const QString &serverName, const QString &fullName);
QString inbox(const QString &serverName, const QString &fullName); // user folder\受信箱.txt
// user folder\既読メール.txt
QString mailReadMark(const QString &serverName, const QString &fullName);
// A file of the user folder, by its file name.
QString userFile(const QString &serverName, const QString &fullName, const QString &fileName);
// The two copies of a picture: title + ".jpg" in the user folder and in the administrator's copy folder.
QString picture(const QString &serverName, const QString &fullName, const QString &title);
QString adminCopyPicture(const QString &serverName, const QString &fullName, const QString &title);

QString localFolder();    // c:\group\ (with the last "\")
QString locatorFile();    // c:\group\ぺるみな.txt
QString sweeperProgram(); // c:\group\InboxSweep.exe
// c:\group\職員グループ.txt: only the staff-room server's set-up writes it (see local::kStaffGroup).
QString staffGroupFile();
// The record of what administrators did to the registry (password resets, people retired): a file of
// the staff-room computer outside the share, so that no pupil can write it. ROOT/管理作業記録.txt, on
// Windows c:\group\管理作業記録.txt.
QString administrationRecord();
// This person's copy of the inbox, the system's c:\group\受信箱.txt: a file of personalSiteFolder(),
// so that a copy one account leaves behind (a crash, a logout) is neither shown to nor in the way of
// the next account on the computer. The local folder's c:\group\受信箱.txt only where the person has
// no folder of their own.
QString localInboxCopy();

// The lock that guards a shared file (a path of this computer): NAME.lock beside it.
QString lockPath(const QString &path);

// What a name stands for; the rule differs a little between them.
enum class NameKind
{
    FullName,   // names the user folders; also stored in quoted registry records
    Title,      // a picture's title; names the file title + ".jpg"
    ServerName, // the staff-room computer's name, written into the locator and into every shared path
};

// Why name cannot name a file or folder of the site, for the user, or empty when it can. Refused:
// empty; separators \ / : * ? " < > | and control characters; characters code page 932 cannot hold
// or writes as a separator byte; white space of any width or a dot at either end (so "." and ".." too);
// the device names CON, PRN, AUX, NUL, COM1-9, LPT1-9 with or without an extension, in any case;
// more than 255 bytes for the file or folder name, or for a picture's title the longest name written
// for it (title + ".jpg" + the replacement suffix). A full name may also not hold a comma or a
// double quote, which would split its registry records, nor be a name the system keeps beside the user
// folders (the registry and board files, 登録中.txt, 管理用, 退会者, 開いているボード, its mail log,
// "YYYY年度", the inbox template's name), in any case, nor such a name with a lock or temporary-file suffix,
// nor any name ending in ".lock".
QString nameProblem(const QString &name, NameKind kind);

} // namespace site
} // namespace perumina
