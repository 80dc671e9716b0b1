#include "setup/site.h"

#include "shared/paths.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace setup {

using perumina::mapPath;
using perumina::Status;
namespace site = perumina::site;

bool ensureFolder(const QString &path, Report &report)
{
    const QString mapped = mapPath(path);
    if (QFileInfo(mapped).isDir())
        return true;
    if (!QDir().mkpath(mapped)) {
        report.status = Status::failure(QStringLiteral("フォルダを作成できませんでした: %1").arg(mapped));
        return false;
    }
    report.created.append(mapped);
    return true;
}

bool ensureFile(const QString &path, const QByteArray &content, Report &report)
{
    const QString mapped = mapPath(path);
    if (QFileInfo::exists(mapped))
        return true;
    QFile file(mapped);
    // NewOnly: a file another run created meanwhile is kept as it is.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(mapped))
            return true;
        report.status = Status::failure(QStringLiteral("ファイルを作成できませんでした: %1").arg(mapped));
        return false;
    }
    if (file.write(content) != content.size() || !file.flush()) {
        file.remove();
        report.status = Status::failure(QStringLiteral("ファイルに書き込めませんでした: %1").arg(mapped));
        return false;
    }
    report.created.append(mapped);
    return true;
}

bool ensureTextFile(const QString &path, const QString &text, Report &report)
{
    auto bytes = perumina::encodeCp932(text);
    if (!bytes) {
        report.status = Status::failure(perumina::unencodableMessage(QString()));
        return false;
    }
    return ensureFile(path, *bytes, report);
}

QString administratorRecord(const QString &id, const QString &password)
{
    return id + password + QStringLiteral(",,,,") + perumina::kCrLf;
}

QString checkAdministratorValue(const QString &value)
{
    if (value.isEmpty())
        return QStringLiteral("管理者のIDとパスワードは空にできません。");
    for (QChar c : value)
        if (c == u',' || c == u'"' || c.category() == QChar::Other_Control)
            return QStringLiteral(
                "管理者のIDとパスワードにはコンマ、ダブルクォーテーション、制御文字を使えません。");
    if (!perumina::canEncodeCp932(value))
        return perumina::unencodableMessage(QStringLiteral("管理者のIDかパスワード"));
    return QString();
}

// The local copy is what the client starts; after an upgrade it must be the installed program again.
static bool refreshSweeper(const QString &source, const QString &target, Report &report)
{
    QFile installed(source);
    QFile local(target);
    if (!installed.open(QIODevice::ReadOnly)) {
        report.status = Status::failure(QStringLiteral("InboxSweep を読めませんでした: %1").arg(source));
        return false;
    }
    const QByteArray bytes = installed.readAll();
    if (local.open(QIODevice::ReadOnly) && local.readAll() == bytes)
        return true;
    local.close();
    // Written beside and renamed over, so that a client starting it meanwhile finds the old or the new one.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        report.status = Status::failure(QStringLiteral("InboxSweep を更新できませんでした: %1").arg(target));
        return false;
    }
    QFile::setPermissions(target, installed.permissions());
    report.updated.append(target);
    return true;
}

static bool copySweeper(const QString &source, Report &report)
{
    const QString target = mapPath(site::localFolder() + QFileInfo(source).fileName());
    if (QFileInfo::exists(target))
        return refreshSweeper(source, target, report);
    if (!QFile::copy(source, target)) {
        report.status =
            Status::failure(QStringLiteral("InboxSweep をコピーできませんでした: %1").arg(target));
        return false;
    }
    report.created.append(target);
    return true;
}

void createSite(const SiteOptions &options, Report &report)
{
    const QString &server = options.server;
    const bool ok = ensureFolder(site::dataFolder(server), report) &&
                    ensureFile(site::fullNamesFile(server), {}, report) &&
                    ensureFile(site::credentialsFile(server), {}, report) &&
                    ensureFile(site::adminRecordsFile(server), {}, report) &&
                    ensureFile(site::userNamesFile(server), {}, report) &&
                    ensureFolder(site::adminFolder(server), report) &&
                    ensureFile(site::inboxTemplate(server), {}, report) &&
                    (options.adminId.isEmpty() ||
                     ensureTextFile(site::administratorsFile(server),
                                    administratorRecord(options.adminId, options.adminPassword), report)) &&
                    ensureFolder(site::localFolder(), report) &&
                    ensureTextFile(site::locatorFile(), server + perumina::kCrLf, report) &&
                    (options.sweeperProgram.isEmpty() || copySweeper(options.sweeperProgram, report));
    Q_UNUSED(ok);
}

} // namespace setup
