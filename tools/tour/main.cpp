#include "shared/paths.h"
#include "tools/tour/tour.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // The tour needs no display: the screens are drawn off screen unless a platform is asked for.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PeruminaTour"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "ぺるみなの画面を順に操作し（登録、ログイン、イラストの送信と閲覧、掲示板、管理画面）、\n"
        "各画面の PNG を サイトのルート/screenshots/ に書き出します。画面を持たない環境で動きます。"));
    parser.addHelpOption();
    const QCommandLineOption rootOption(
        QStringLiteral("root"),
        QStringLiteral("サイトのルートフォルダ。省略時は環境変数 PERUMINA_ROOT（未設定なら ~/.perumina）。"),
        QStringLiteral("DIR"));
    const QCommandLineOption adminOption(
        QStringLiteral("admin"), QStringLiteral("管理者ID（省略時は admin）。"), QStringLiteral("ID"));
    const QCommandLineOption passwordOption(QStringLiteral("admin-password"),
                                            QStringLiteral("管理者のパスワード（省略時は admin）。"),
                                            QStringLiteral("PW"));
    const QCommandLineOption startOption(
        QStringLiteral("at"),
        QStringLiteral(
            "プログラムが見る時刻（例 2026-04-08T09:05:03）。読むたびに 1 秒進みます。省略時はこの\n"
            "コンピュータの時刻。同じ時刻で撮った写真は比べられます。"),
        QStringLiteral("TIME"));
    parser.addOptions({rootOption, adminOption, passwordOption, startOption});
    parser.process(app);

    if (parser.isSet(rootOption))
        qputenv("PERUMINA_ROOT", QDir(parser.value(rootOption)).absolutePath().toUtf8());

    tour::Options options;
    options.pictures = QDir(perumina::siteRoot()).filePath(QStringLiteral("screenshots"));
    if (parser.isSet(adminOption))
        options.adminId = parser.value(adminOption);
    if (parser.isSet(passwordOption))
        options.adminPassword = parser.value(passwordOption);

    if (parser.isSet(startOption)) {
        options.start = QDateTime::fromString(parser.value(startOption), Qt::ISODate);
        if (!options.start.isValid()) {
            err << QStringLiteral("--at の時刻が読めません: %1").arg(parser.value(startOption)) << Qt::endl;
            return 2;
        }
    }

    tour::Tour tour(options, out, err);
    const bool ok = tour.run();
    out << QStringLiteral("画面の写真: %1 枚（%2）").arg(tour.pictures().size()).arg(options.pictures)
        << Qt::endl;
    if (!ok) {
        err << QStringLiteral("ツアーの途中で失敗した手順があります。") << Qt::endl;
        return 1;
    }
    return 0;
}
