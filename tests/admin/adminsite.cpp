#include "adminsite.h"

#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QPainter>
#include <stdexcept>

namespace admin_fixture {

using namespace perumina;

static void require(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

void registerUser(const QString &server, const QString &userName, const QString &fullName,
                  const QString &password)
{
    require(bool(AppendQuotedRecords(site::fullNamesFile(server), {fullName})), "registry");
    require(bool(AppendQuotedRecords(site::credentialsFile(server), {userName + password})), "registry");
    require(bool(AppendQuotedRecords(site::adminRecordsFile(server),
                                     {userName + u',' + fullName + u',' + password})),
            "registry");
    require(bool(AppendQuotedRecords(site::userNamesFile(server), {userName})), "registry");
    require(QDir().mkpath(site::userFolder(server, fullName)), "user folder");
    require(QDir().mkpath(site::adminCopyFolder(server, fullName)), "copy folder");
}

QString logRecord(const QString &date, const QString &time, const QString &sender, const QString &recipient,
                  const QString &title, const QString &body)
{
    QStringList quoted;
    for (const QString &value : {date, time, sender, recipient, title, body})
        quoted.append(u'"' + value + u'"');
    return quoted.join(u',') + QString::fromLatin1(kCrLf);
}

void sendMail(const QString &server, const QString &date, const QString &time, const QString &sender,
              const QString &recipientFullName, const QString &title, const QString &body)
{
    require(bool(appendTextFile(site::messageLog(server),
                                logRecord(date, time, sender, recipientFullName, title, body))),
            "mail log");
}

QImage samplePicture(const QColor &colour, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(image.rect().adjusted(10, 10, -10, -10), colour);
    painter.fillRect(0, 0, 8, 8, Qt::black);
    return image;
}

void sendPicture(const QString &server, const QString &recipientFullName, const QString &title,
                 const QImage &picture)
{
    for (const QString &path : {site::picture(server, recipientFullName, title),
                                site::adminCopyPicture(server, recipientFullName, title)}) {
        require(picture.save(path, "BMP"), "picture");
    }
}

} // namespace admin_fixture
