#pragma once

#include "shared/sharedfile.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Illustrations: pictures drawn on the canvas and stored twice on the share, once in the recipient's
// user folder (for the viewer) and once in the recipient's folder under 管理用 (for the administrator).
namespace client::illustration {

// Shown after a complete send: the same picture may go to another recipient.
inline const QString kSentMessage =
    QStringLiteral("このイラストを他の人にも送信する場合、相手を指定し直して送信ボタンを押して下さい。");

// The drawing area of the canvas, in pixels: 7215 by 5295 twips at 15 twips a pixel, less the 2-pixel
// sunken border on each side.
inline constexpr int kWidth = 477;
inline constexpr int kHeight = 349;

// One colour button of the canvas: its caption, the colour of the swatch and the colour its pen draws.
struct Swatch
{
    QString caption;
    QColor swatch;
    QColor pen;
};
// "1" to "26", in caption order.
const QList<Swatch> &swatches();
// The eraser paints the surface's background.
inline const QColor kEraserPen = QColor(255, 255, 255);
// The pen widths of the five width buttons, thinnest first.
inline constexpr int kPenWidths[5] = {1, 3, 5, 7, 9};

struct Paths
{
    QString recipientCopy; // site::picture: 管理データ\recipient\title.jpg
    QString adminCopy;     // site::adminCopyPicture: 管理データ\管理用\recipient\title.jpg
};
Paths paths(const QString &serverName, const QString &recipient, const QString &title);

// Empty when the title, folded as its file will be named, passes the site's name rule; otherwise a
// message for the user.
QString titleProblem(const QString &title);
// The same for a recipient's full name, which names the two folders: refused exactly where
// registration refuses it.
QString recipientProblem(const QString &recipient);

// Whether the administrator's copy of this title already exists for the recipient.
bool titleTaken(const QString &serverName, const QString &recipient, const QString &title);

// Where the sender's name goes: 7/9 of the width and 10/11 of the height, in single precision.
QPointF signaturePosition(const QSize &size);
// Bold italic 16 point; the pop-style face where installed, the system's gothic otherwise.
QFont signatureFont();
// A copy of picture with sender printed at the signature position in black; picture is untouched.
QImage signedCopy(const QImage &picture, const QString &sender);

// The picture as a 24-bit Windows bitmap file.
QByteArray toBmp(const QImage &picture);

enum class StoreResult
{
    Stored,
    TitleTaken,
    Failed
};
struct StoreOutcome
{
    StoreResult result = StoreResult::Failed;
    QString error; // for Failed: what went wrong, for the user
};
// Writes bmp to both copies: first reserves the administrator's copy by creating it empty (never
// replacing a file), then writes the recipient's copy, then the administrator's. On any failure the
// reservation is removed again and the recipient's copy is put back as it was.
// write replaces one whole file; tests hand in one that fails.
using FileWriter = std::function<perumina::Status(const QString &path, const QByteArray &bytes)>;
StoreOutcome store(const QByteArray &bmp, const QString &serverName, const QString &recipient,
                   const QString &title, const FileWriter &write = perumina::replaceFileAtomically);

// Names of the files of the user folder that end in ".jpg" in any letter case, sorted as a file list
// shows them; nothing when the folder cannot be read.
std::optional<QStringList> list(const QString &serverName, const QString &fullName);

} // namespace client::illustration
