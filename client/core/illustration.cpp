#include "client/core/illustration.h"

#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <cerrno>

namespace client::illustration {

namespace site = perumina::site;

const QList<Swatch> &swatches()
{
    static const QList<Swatch> all = [] {
        const int rgb[26][3] = {
            {255, 255, 255}, {224, 224, 224}, {192, 192, 192}, {64, 64, 64}, {255, 192, 192}, {255, 0, 0},
            {128, 0, 0},     {255, 224, 192}, {255, 128, 0},   {128, 64, 0}, {255, 255, 192}, {255, 255, 0},
            {128, 128, 0},   {0, 0, 0},       {192, 255, 192}, {0, 255, 0},  {0, 128, 0},     {192, 255, 255},
            {0, 255, 255},   {0, 128, 128},   {192, 192, 255}, {0, 0, 255},  {0, 0, 128},     {255, 192, 255},
            {255, 0, 255},   {128, 0, 128}};
        QList<Swatch> list;
        for (int i = 0; i < 26; ++i) {
            const QColor colour(rgb[i][0], rgb[i][1], rgb[i][2]);
            list.append({QString::number(i + 1), colour, colour});
        }
        // "15" has always drawn a brighter green than its swatch shows; pictures drawn with it look so.
        list[14].pen = QColor(0, 255, 192);
        return list;
    }();
    return all;
}

// Title as it names the file: the look-alikes that code page 932 lacks become its own characters, so
// that every computer sees the same name.
static QString fileTitle(const QString &title)
{
    return perumina::foldForCp932(title);
}

Paths paths(const QString &serverName, const QString &recipient, const QString &title)
{
    return {site::picture(serverName, recipient, fileTitle(title)),
            site::adminCopyPicture(serverName, recipient, fileTitle(title))};
}

QString titleProblem(const QString &title)
{
    return site::nameProblem(fileTitle(title), site::NameKind::Title);
}

QString recipientProblem(const QString &recipient)
{
    if (recipient.isEmpty())
        return QStringLiteral("受信者が選ばれていません");
    if (!site::nameProblem(recipient, site::NameKind::FullName).isEmpty())
        return QStringLiteral("「%1」さんのフォルダには送れません。一覧から受信者を選び直して下さい。")
            .arg(recipient);
    return {};
}

bool titleTaken(const QString &serverName, const QString &recipient, const QString &title)
{
    return QFileInfo::exists(paths(serverName, recipient, title).adminCopy);
}

QPointF signaturePosition(const QSize &size)
{
    return {static_cast<float>(size.width()) * 7.0f / 9.0f,
            static_cast<float>(size.height()) * 10.0f / 11.0f};
}

QFont signatureFont()
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("HGS創英角ポップ体"), QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic")});
    font.setPointSize(16);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QImage signedCopy(const QImage &picture, const QString &sender)
{
    QImage copy = picture.convertToFormat(QImage::Format_RGB32);
    // 96 dots per inch, as the screen the canvas is drawn on: 16 points are 21⅓ pixels.
    copy.setDotsPerMeterX(3780);
    copy.setDotsPerMeterY(3780);
    QPainter painter(&copy);
    const QFont font = signatureFont();
    painter.setFont(font);
    painter.setPen(Qt::black);
    // The print position is the top left of the text, as the canvas prints it.
    const QPointF at = signaturePosition(copy.size());
    painter.drawText(QPointF(at.x(), at.y() + QFontMetricsF(font, &copy).ascent()), sender);
    painter.end();
    return copy;
}

QByteArray toBmp(const QImage &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB888)))
        return {};
    return bytes;
}

static QString saveFailure(const QString &why)
{
    return QStringLiteral("イラストを送信できませんでした。%1").arg(why);
}

StoreOutcome store(const QByteArray &bmp, const QString &serverName, const QString &recipient,
                   const QString &title, const FileWriter &write)
{
    if (QString problem = titleProblem(title); !problem.isEmpty())
        return {StoreResult::Failed, problem};
    if (QString problem = recipientProblem(recipient); !problem.isEmpty())
        return {StoreResult::Failed, problem};
    if (bmp.isEmpty())
        return {StoreResult::Failed, saveFailure(QStringLiteral("絵を画像ファイルにできませんでした。"))};
    const Paths where = paths(serverName, recipient, title);
    const QString adminFile = where.adminCopy;
    const QString recipientFile = where.recipientCopy;
    for (const QString &file : {adminFile, recipientFile})
        if (perumina::Status linked = perumina::refuseLinks(file); !linked)
            return {StoreResult::Failed, saveFailure(linked.error)};

    // The exclusive create both checks and claims the title, so two senders cannot both take it.
    QFile reservation(adminFile);
    errno = 0;
    if (!reservation.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const QString why = perumina::reasonOf(errno);
        const perumina::Status::Kind kind = perumina::lastFailureKind(QFileInfo(adminFile).absolutePath());
        if (QFileInfo::exists(adminFile))
            return {StoreResult::TitleTaken, {}};
        if (!QFileInfo(QFileInfo(adminFile).absolutePath()).isDir())
            return {StoreResult::Failed,
                    saveFailure(QStringLiteral(
                        "管理用のフォルダが見つかりません。サーバーとの接続を確認して下さい。"))};
        return {StoreResult::Failed, saveFailure(perumina::writeFailure(adminFile, kind, why).error)};
    }
    reservation.close();
    const auto dropReservation = [&] {
        if (QFileInfo(adminFile).size() == 0)
            QFile::remove(adminFile);
    };

    if (!QFileInfo(QFileInfo(recipientFile).absolutePath()).isDir()) {
        dropReservation();
        return {StoreResult::Failed,
                saveFailure(QStringLiteral("%1さんのフォルダが見つかりません。").arg(recipient))};
    }
    const std::optional<QByteArray> previous =
        QFileInfo::exists(recipientFile) ? perumina::readFileBytes(recipientFile) : std::nullopt;
    if (perumina::Status written = write(where.recipientCopy, bmp); !written) {
        dropReservation();
        return {StoreResult::Failed, saveFailure(written.error)};
    }
    if (perumina::Status written = write(where.adminCopy, bmp); !written) {
        dropReservation();
        if (previous)
            write(where.recipientCopy, *previous);
        else
            QFile::remove(recipientFile);
        return {StoreResult::Failed, saveFailure(written.error)};
    }
    return {StoreResult::Stored, {}};
}

std::optional<QStringList> list(const QString &serverName, const QString &fullName)
{
    // A name that is not one folder name would list some other folder.
    if (!recipientProblem(fullName).isEmpty())
        return std::nullopt;
    QDir folder(site::userFolder(serverName, fullName));
    if (!folder.exists() || !folder.isReadable())
        return std::nullopt;
    // Without QDir::CaseSensitive the pattern ignores letter case, as the file list does.
    return folder.entryList({u'*' + site::kPictureSuffix}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

} // namespace client::illustration
