#include "admin/core/console.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace admin {

QStringList readMessageLog(const QString &serverName)
{
    return perumina::ReadLines(perumina::site::messageLog(serverName)).value_or(QStringList());
}

QStringList readUserEntries(const QString &serverName)
{
    return perumina::ReadFields(perumina::site::adminRecordsFile(serverName)).value_or(QStringList());
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
    const QDir dir(perumina::mapPath(folder));
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
    return folder.endsWith(u'\\') ? folder + name : folder + u'\\' + name;
}

} // namespace admin
