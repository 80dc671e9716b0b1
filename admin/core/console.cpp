#include "admin/core/console.h"

#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace admin {

LogText loadLogText(const QString &serverName)
{
    LogText log;
    auto text = perumina::readTextFile(perumina::site::messageLog(serverName), &log.problem);
    if (!text)
        return log;
    log.text = std::move(*text);
    const QString &t = log.text;
    const auto n = static_cast<qint32>(t.size()); // the log's limit keeps it far below 2^31
    qint32 i = 0;
    while (i < n) {
        qint32 end = i;
        while (end < n && t[end] != u'\r' && t[end] != u'\n')
            ++end;
        const bool emptyAfterEmpty =
            end == i && !log.bounds.isEmpty() && log.bounds.last() == log.bounds.at(log.bounds.size() - 2);
        if (!emptyAfterEmpty) {
            log.bounds.append(i);
            log.bounds.append(end);
        }
        if (end < n && t[end] == u'\r' && end + 1 < n && t[end + 1] == u'\n')
            ++end;
        i = end + 1;
    }
    log.bounds.squeeze();
    return log;
}

QStringList readMessageLog(const QString &serverName)
{
    return loadLogText(serverName).lines();
}

QStringList readUserEntries(const QString &serverName, QString *problem)
{
    return perumina::ReadFields(perumina::site::adminRecordsFile(serverName), problem)
        .value_or(QStringList());
}

QString messageLogText(const QStringList &lines, const QString &lineEnd)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + lineEnd.size();
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}

static void sortByName(QStringList &names)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
}

static std::optional<QStringList> listEntries(const QString &folder, QDir::Filters filters)
{
    const QDir dir(folder);
    if (!dir.exists() || !QFileInfo(dir.path()).isReadable())
        return std::nullopt;
    QStringList names = dir.entryList(filters | QDir::NoDotAndDotDot, QDir::NoSort);
    sortByName(names);
    return names;
}

std::optional<QStringList> listSubfolders(const QString &folder)
{
    // A linked folder, planted by anyone who can write to the share, could lead the list anywhere.
    return listEntries(folder, QDir::Dirs | QDir::NoSymLinks);
}

bool matchesPicturePattern(const QString &fileName)
{
    return fileName.contains(perumina::site::kPictureSuffix, Qt::CaseInsensitive);
}

std::optional<QStringList> listPictureFiles(const QString &folder)
{
    auto files = listEntries(folder, QDir::Files);
    if (files)
        files->removeIf([](const QString &name) { return !matchesPicturePattern(name); });
    return files;
}

QString childPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') || folder.endsWith(QDir::separator()) ? folder + name : folder + u'/' + name;
}

QString folderName(const QString &folder)
{
    return QDir::fromNativeSeparators(folder).section(u'/', -1);
}

QStringList folderChain(const QString &root, const QString &folder)
{
    QStringList chain{root};
    const QString top = QDir::fromNativeSeparators(root);
    const QString below = QDir::fromNativeSeparators(folder);
    if (!below.startsWith(top + u'/'))
        return chain;
    QString path = root;
    for (const QString &part : below.mid(top.size() + 1).split(u'/', Qt::SkipEmptyParts)) {
        path = childPath(path, part);
        chain.append(path);
    }
    return chain;
}

} // namespace admin
