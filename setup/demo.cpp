#include "setup/demo.h"

#include "client/core/illustration.h"
#include "client/core/mail.h"
#include "client/core/newmail.h"
#include "client/core/registry.h"
#include "setup/boarddata.h"
#include "shared/records.h"
#include "shared/seams.h"
#include "shared/site.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace setup {

using perumina::Status;

const QList<DemoUser> &demoUsers()
{
    static const QList<DemoUser> users{
        {QStringLiteral("taro"), QStringLiteral("山田太郎"), QStringLiteral("taro123")},
        {QStringLiteral("hana"), QStringLiteral("佐藤花子"), QStringLiteral("hana456")},
        {QStringLiteral("ken"), QStringLiteral("鈴木健"), QStringLiteral("ken7890")},
        {QStringLiteral("sensei"), QStringLiteral("田中先生"), QStringLiteral("tanaka1")},
    };
    return users;
}

namespace {

struct DemoMail
{
    int minutesAgo;
    QString sender;    // user name
    QString recipient; // full name
    QString title;
    QString body;
};

// A picture as a pupil would draw it on the canvas: a house under the sun on a white sheet.
QImage demoPicture()
{
    QImage picture(477, 349, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto pen = [&](const QColor &colour, int width) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    };
    pen(QColor(255, 0, 0), 7);
    p.drawLine(110, 200, 190, 125);
    p.drawLine(190, 125, 270, 200);
    pen(QColor(128, 64, 0), 7);
    p.drawRect(125, 200, 130, 100);
    pen(QColor(0, 0, 255), 5);
    p.drawRect(150, 225, 30, 30);
    pen(QColor(255, 255, 0), 9);
    p.drawEllipse(QPoint(390, 70), 28, 28);
    pen(QColor(0, 255, 192), 5);
    p.drawLine(20, 320, 460, 320);
    return picture;
}

void fail(Report &report, const QString &why)
{
    if (report.status.ok)
        report.status = Status::failure(why);
}

} // namespace

void addDemoContent(const QString &server, const QDateTime &now, Report &report)
{
    addDemoBoardData(server, now.date(), report);
    if (!report.status.ok)
        return;

    const auto registered = perumina::ReadFields(perumina::site::userNamesFile(server));
    if (!registered) {
        fail(report, QStringLiteral("ユーザー名.txt を読めませんでした。"));
        return;
    }
    if (!registered->isEmpty())
        return; // not a fresh site: its people and mails stay as they are

    for (const DemoUser &user : demoUsers()) {
        const auto result = client::recordRegistration(server, {user.userName, user.fullName, user.password});
        if (result.outcome != client::RegistrationOutcome::Recorded) {
            fail(report, QStringLiteral("デモの利用者 %1 を登録できませんでした。%2")
                             .arg(user.userName, result.error));
            return;
        }
        report.created.append(perumina::site::inbox(server, user.fullName));
    }

    const QList<DemoMail> mails{
        {180, QStringLiteral("taro"), QStringLiteral("佐藤花子"), QStringLiteral("遠足のこと"),
         QStringLiteral("明日の遠足、お弁当は何を持っていく？\r\nおやつは300円までだって。")},
        {150, QStringLiteral("hana"), QStringLiteral("山田太郎"), QStringLiteral("Re: 遠足のこと"),
         QStringLiteral("おにぎりにするよ！\r\n雨が降らないといいね。")},
        {120, QStringLiteral("sensei"), QStringLiteral("山田太郎"), QStringLiteral("宿題について"),
         QStringLiteral("算数のプリントは金曜日までに出して下さい。")},
        {90, QStringLiteral("ken"), QStringLiteral("田中先生"), QStringLiteral("質問です"),
         QStringLiteral("理科の実験の持ち物を教えて下さい。")},
        {60, QStringLiteral("sensei"), QStringLiteral("鈴木健"), QStringLiteral("Re: 質問です"),
         QStringLiteral("虫めがねとノートを持ってきて下さい。\r\n筆記用具も忘れずに。")},
    };
    for (const DemoMail &demo : mails) {
        const QDateTime at = now.addSecs(-60 * demo.minutesAgo);
        const client::Mail mail{perumina::formatDate(at.date()),
                                perumina::formatTime(at.time()),
                                demo.sender,
                                demo.recipient,
                                demo.title,
                                demo.body};
        const client::Delivery delivery = client::deliverMail(server, mail);
        if (!delivery.done()) {
            fail(report, client::deliveryMessage(delivery, demo.recipient));
            return;
        }
    }
    report.created.append(perumina::site::messageLog(server));
    // 山田太郎 read hana's answer on some computer but not the teacher's mail after it: his menu shows
    // one new mail.
    const QString reader = QStringLiteral("山田太郎");
    const Status marked = client::advanceMailMark(server, reader, now.addSecs(-60 * 150));
    if (!marked.ok) {
        fail(report, marked.error);
        return;
    }
    report.created.append(perumina::site::mailReadMark(server, reader));

    const QString title = QStringLiteral("わたしの家");
    const QString recipient = QStringLiteral("山田太郎");
    const QByteArray bmp =
        client::illustration::toBmp(client::illustration::signedCopy(demoPicture(), QStringLiteral("hana")));
    const auto stored = client::illustration::store(bmp, server, recipient, title);
    if (stored.result != client::illustration::StoreResult::Stored) {
        fail(report, stored.error.isEmpty() ? QStringLiteral("デモのイラストを保存できませんでした。")
                                            : stored.error);
        return;
    }
    const auto paths = client::illustration::paths(server, recipient, title);
    report.created.append(paths.recipientCopy);
    report.created.append(paths.adminCopy);
}

} // namespace setup
