#include "shared/site.h"

#include "shared/paths.h"
#include "shared/textfile.h"

#include <QRegularExpression>
#include <QStringList>

namespace perumina {

QString SharePath(const QString &serverName, const QString &tail)
{
    return QStringLiteral("\\\\") + serverName + tail;
}

namespace site {

namespace {

// Every path leaves this module as a path of this computer: the system's name is made here and mapped
// once, so no other code maps it again.
QString here(const QString &name)
{
    return mapPath(name);
}

// The system's names, from which the paths below are made.
QString dataFolderName(const QString &serverName)
{
    return SharePath(serverName, tails::kDataFolder);
}

QString userFolderName(const QString &serverName, const QString &fullName)
{
    return dataFolderName(serverName) + fullName;
}

QString adminCopyFolderName(const QString &serverName, const QString &fullName)
{
    return SharePath(serverName, tails::kAdminFolder) + fullName;
}

QString userFileName(const QString &serverName, const QString &fullName, const QString &fileName)
{
    return userFolderName(serverName, fullName) + u'\\' + fileName;
}

} // namespace

QString share(const QString &serverName)
{
    return here(SharePath(serverName, tails::kShare));
}

QStringList schoolYearFiles()
{
    return {kDateIndex, kDayEvents, kLunchMenu, kMonthIndex, kMonthEvents};
}

QString pastYearFolder(int year)
{
    return QStringLiteral("%1年度").arg(year);
}

QString inboxTemplate(const QString &serverName)
{
    return here(SharePath(serverName, tails::kInboxTemplate));
}

QString findFileClip(const QString &serverName)
{
    return here(SharePath(serverName, tails::kFindFileClip));
}

QString dataFolder(const QString &serverName)
{
    return here(dataFolderName(serverName));
}

QString dataFile(const QString &serverName, const QString &fileName)
{
    return here(dataFolderName(serverName) + fileName);
}

QString fullNamesFile(const QString &serverName)
{
    return here(SharePath(serverName, tails::kFullNames));
}

QString credentialsFile(const QString &serverName)
{
    return here(SharePath(serverName, tails::kCredentials));
}

QString adminRecordsFile(const QString &serverName)
{
    return here(SharePath(serverName, tails::kAdminRecords));
}

QString userNamesFile(const QString &serverName)
{
    return here(SharePath(serverName, tails::kUserNames));
}

QString administratorsFile(const QString &serverName)
{
    return here(SharePath(serverName, tails::kAdministrators));
}

QString registrationNote(const QString &serverName)
{
    return dataFile(serverName, kRegistrationNote);
}

QString presenceFolder(const QString &serverName)
{
    return here(dataFolderName(serverName) + kPresenceFolderName + u'\\');
}

QString adminFolder(const QString &serverName)
{
    QString folder = SharePath(serverName, tails::kAdminFolder);
    folder.chop(1);
    return here(folder);
}

QString messageLog(const QString &serverName)
{
    return here(SharePath(serverName, tails::kMessageLog));
}

QString retiredArchive(const QString &serverName, const QString &fullName, const QDate &date)
{
    return here(dataFolderName(serverName) + kRetiredFolder + u'\\' + fullName + u'-' +
                date.toString(QStringLiteral("yyyyMMdd")));
}

QString userFolder(const QString &serverName, const QString &fullName)
{
    return here(userFolderName(serverName, fullName));
}

QString adminCopyFolder(const QString &serverName, const QString &fullName)
{
    return here(adminCopyFolderName(serverName, fullName));
}

QString userFile(const QString &serverName, const QString &fullName, const QString &fileName)
{
    return here(userFileName(serverName, fullName, fileName));
}

QString inbox(const QString &serverName, const QString &fullName)
{
    return userFile(serverName, fullName, kInboxName);
}

QString mailReadMark(const QString &serverName, const QString &fullName)
{
    return userFile(serverName, fullName, kMailReadMarkName);
}

QString picture(const QString &serverName, const QString &fullName, const QString &title)
{
    return userFile(serverName, fullName, title + kPictureSuffix);
}

QString adminCopyPicture(const QString &serverName, const QString &fullName, const QString &title)
{
    return here(adminCopyFolderName(serverName, fullName) + u'\\' + title + kPictureSuffix);
}

QString localFolder()
{
    return here(local::kFolder);
}

QString locatorFile()
{
    return here(local::kLocator);
}

QString staffGroupFile()
{
    return here(local::kStaffGroup);
}

QString localInboxCopy()
{
    const QString folder = personalSiteFolder();
    return folder.isEmpty() ? here(local::kInboxCopy) : folder + u'/' + kInboxName;
}

QString sweeperProgram()
{
    return here(local::kSweeper);
}

QString administrationRecord()
{
#ifdef Q_OS_WIN
    return local::kFolder + QStringLiteral("管理作業記録.txt");
#else
    return siteRoot() + QStringLiteral("/管理作業記録.txt");
#endif
}

QString lockPath(const QString &path)
{
    return path + QStringLiteral(".lock");
}

namespace {

const QString kSeparators = QStringLiteral("\\/:*?\"<>|");

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f);
}

bool isEdge(QChar c)
{
    return c.isSpace() || c == u'.';
}

// Names that Windows keeps for devices, with or without an extension, in any case.
bool isDeviceName(const QString &name)
{
    const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList fixed = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                      QStringLiteral("NUL")};
    if (fixed.contains(stem))
        return true;
    return stem.size() == 4 &&
           (stem.startsWith(QStringLiteral("COM")) || stem.startsWith(QStringLiteral("LPT"))) &&
           stem[3] >= u'1' && stem[3] <= u'9';
}

QString lastSegment(const QString &path)
{
    return path.section(u'\\', -1, -1);
}

// What the system itself keeps in the data folder and in 管理用, where user folders lie beside it.
bool isSystemFileName(const QString &folded)
{
    static const QStringList names = [] {
        QStringList all = {lastSegment(tails::kFullNames),
                           lastSegment(tails::kCredentials),
                           lastSegment(tails::kAdminRecords),
                           lastSegment(tails::kUserNames),
                           lastSegment(tails::kAdministrators),
                           lastSegment(tails::kMessageLog),
                           lastSegment(tails::kInboxTemplate),
                           lastSegment(tails::kFindFileClip),
                           kInboxName,
                           kRegistrationNote,
                           kPresenceFolderName,
                           kRetiredFolder};
        all += schoolYearFiles();
        QString adminFolder = tails::kAdminFolder;
        adminFolder.chop(1);
        all.append(lastSegment(adminFolder));
        for (QString &name : all)
            name = name.toCaseFolded();
        return all;
    }();
    // "2026年度" for any year: the digits of year 0 stand for any.
    static const QRegularExpression pastYear(QRegularExpression::anchoredPattern(
        QStringLiteral("[0-9]+") + QRegularExpression::escape(pastYearFolder(0).mid(1))));
    return names.contains(folded) || pastYear.match(folded).hasMatch();
}

// A name the system uses beside the user folders, also as the lock (NAME.lock) or the temporary file
// of a replacement (NAME.XXXXXX) the shared-file helpers make next to it, whether it exists yet or not.
bool isSystemName(const QString &name)
{
    static const QRegularExpression tempSuffix(QStringLiteral("\\.[0-9a-z]{6}$"));
    const QString lock = QStringLiteral(".lock");
    QString folded = name.toCaseFolded();
    for (;;) {
        // Any lock name: a folder there would stop every writer of the file it guards.
        if (isSystemFileName(folded) || folded.endsWith(lock))
            return true;
        const QRegularExpressionMatch temp = tempSuffix.match(folded);
        if (!temp.hasMatch())
            return false;
        folded.chop(temp.capturedLength());
    }
}

QString what(NameKind kind)
{
    switch (kind) {
    case NameKind::FullName:
        return QStringLiteral("本名");
    case NameKind::Title:
        return QStringLiteral("タイトル");
    case NameKind::ServerName:
        return QStringLiteral("サーバー名");
    }
    return {};
}

} // namespace

QString nameProblem(const QString &name, NameKind kind)
{
    const QString w = what(kind);
    // A full name is typed on the registration screen, which has always said these in its own words.
    const bool fullName = kind == NameKind::FullName;
    const QString badCharacter =
        QStringLiteral(
            "%1に使えない文字（\\ / : * ? \" < > | や制御文字）が含まれています。別の%1に変えて下さい。")
            .arg(w);

    if (name.isEmpty()) {
        if (kind == NameKind::Title)
            return QStringLiteral("タイトルを入力してください");
        return w + QStringLiteral("を入力して下さい。");
    }
    if (fullName && (name.contains(u',') || name.contains(u'"')))
        return QStringLiteral("本名にコンマ（,）やダブルクォーテーション（\"）は使えません。");
    for (const QChar c : name) {
        if (isControl(c))
            return fullName ? unencodableMessage(w) : badCharacter;
    }
    if (!canEncodeCp932(name))
        return unencodableMessage(w, name);
    for (const QChar c : name) {
        if (kSeparators.contains(c))
            return fullName ? QStringLiteral("本名に次の文字は使えません。　\\ / : * ? \" < > |")
                            : badCharacter;
    }
    // Code page 932 writes a few characters (the yen sign, the overline) as separator bytes, which
    // would split the path on Windows.
    for (const QChar c : decodeCp932(*encodeCp932(name)))
        if (kSeparators.contains(c))
            return unencodableMessage(w);
    if (isEdge(name.front()) || isEdge(name.back()))
        return fullName ? QStringLiteral("本名の最初と最後には空白やピリオド（.）は使えません。")
                        : QStringLiteral("%1の最初と最後に空白やピリオドは使えません。別の%1に変えて下さい。")
                              .arg(w);
    // One file or folder name holds at most 255 characters on Windows and 255 bytes here. A picture is
    // also written under its replacement's longer name, which must fit as well.
    const int added = kind == NameKind::Title ? int(kPictureSuffix.size()) + kReplacementSuffixLength : 0;
    const int room = kMaxNameLength - added;
    if (name.size() > room || name.toUtf8().size() > room) {
        if (kind != NameKind::Title)
            return QStringLiteral("%1が長すぎます。短くして下さい。").arg(w);
        // Full-width characters take three bytes each.
        return QStringLiteral("%1が長すぎます。全角なら%2文字、半角なら%3文字までにして下さい。")
            .arg(w)
            .arg(room / 3)
            .arg(room);
    }
    if (isDeviceName(name) || (fullName && isSystemName(name)))
        return fullName ? QStringLiteral("この本名はフォルダの名前に使えません。別の書き方にして下さい。")
                        : QStringLiteral("この%1はファイル名に使えません。別の%1に変えて下さい。").arg(w);
    return {};
}

} // namespace site
} // namespace perumina
