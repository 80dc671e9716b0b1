#include "setup/administration.h"
#include "setup/boarddata.h"
#include "setup/demo.h"
#include "setup/site.h"
#include "shared/commandline.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/seams.h"
#include "shared/site.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    // The demonstration's illustration is signed with a font, which needs a GUI application; it never
    // shows a window, so it needs no display either.
    const bool demo =
        std::any_of(argv + 1, argv + argc, [](const char *a) { return std::strcmp(a, "--demo") == 0; });
    std::unique_ptr<QCoreApplication> application;
    if (demo) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("PeruminaSetup"));
    QCoreApplication::setApplicationVersion(perumina::programVersion());
    QTextStream out(stdout);
    QTextStream err(stderr);
    auto tellMoved = [&](const setup::YearChange &change) {
        for (const QString &path : change.moved)
            out << change.oldYear << "年度のファイルを移しました: " << path << "\n";
    };

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "ぺるみなのサイトを作成します。共有フォルダ（unc/サーバー名/ぺるみな/）と、このコンピュータの\n"
        "ローカルフォルダ（c/group/）のうち、無いものだけを作り、既にあるものは変更しません。"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption rootOption(
        QStringLiteral("root"),
        QStringLiteral("サイトのルートフォルダ。省略時は環境変数 PERUMINA_ROOT（未設定なら ~/.perumina）。"),
        QStringLiteral("DIR"));
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral(
            "職員室のサーバーのコンピュータ名。ロケータファイル c/group/ぺるみな.txt に書かれます。"),
        QStringLiteral("NAME"));
    const QCommandLineOption adminOption(
        QStringLiteral("admin"), QStringLiteral("管理者ID。管理者情報.txt が無いときに書き込みます。"),
        QStringLiteral("ID"));
    const QCommandLineOption passwordOption(QStringLiteral("admin-password"),
                                            QStringLiteral("管理者のパスワード（--admin と一緒に指定）。"),
                                            QStringLiteral("PW"));
    const QCommandLineOption schoolYearOption(
        QStringLiteral("school-year"),
        QStringLiteral(
            "YYYY年4月1日から始まる年度のボードデータ（日付取得.txt、行事予定.txt、給食予定.txt、"
            "年月取得.txt、月別行事.txt）を、無いものだけ作ります。別の年度のデータがあるときは、"
            "先にその5つのファイルを管理データの「(その年)年度」フォルダへ移します（削除はしません）。"
            "--server を省略すると、ロケータファイルのサーバー名を使います。"),
        QStringLiteral("YYYY"));
    const QCommandLineOption demoOption(
        QStringLiteral("demo"),
        QStringLiteral(
            "デモ用の内容を加えます: 児童と先生の登録、メール、イラスト1枚、今週の予定と給食、今月の行事"
            "（今年度のボードデータが無ければ作ります）。利用者とメールは、まだ誰も登録していない"
            "サイトにだけ加えます。"));
    const QCommandLineOption roleOption(
        QStringLiteral("role"),
        QStringLiteral(
            "このコンピュータの役割。server: 職員室のサーバー（共有フォルダを作り、グループと権限を設定し、"
            "Samba の共有設定を書きます）。classroom: 教室のコンピュータ（ロケータと InboxSweep だけを"
            "作ります。共有フォルダにつながっていなければ何もしません）。local（省略時）: 1台のディスクに"
            "サイト全体を作ります（デモや試験用）。"),
        QStringLiteral("ROLE"), QStringLiteral("local"));
    const QCommandLineOption groupOption(
        QStringLiteral("group"),
        QStringLiteral(
            "--role server: 児童と先生のアカウントが入るグループ。共有フォルダの持ち主になります。"),
        QStringLiteral("GROUP"));
    const QCommandLineOption staffGroupOption(
        QStringLiteral("staff-group"),
        QStringLiteral("--role server: 管理者情報.txt を読めるグループ（職員のアカウントだけが入るもの）。"),
        QStringLiteral("GROUP"));
    const QCommandLineOption sambaOption(
        QStringLiteral("samba-conf"),
        QStringLiteral("--role server: Samba の共有設定を書くファイル。省略時は ROOT/perumina-smb.conf。"),
        QStringLiteral("FILE"));
    parser.addOptions({rootOption, serverOption, adminOption, passwordOption, schoolYearOption, demoOption,
                       roleOption, groupOption, staffGroupOption, sambaOption});
    const setup::AdministrationOptions administration(parser);
    parser.process(app);

    if (parser.isSet(rootOption))
        qputenv("PERUMINA_ROOT", QDir(parser.value(rootOption)).absolutePath().toUtf8());
    if (administration.requested(parser))
        return administration.run(parser, out, err);

    setup::SiteOptions options;
    const QString role = parser.value(roleOption);
    if (role == QLatin1String("server"))
        options.role = setup::Role::Server;
    else if (role == QLatin1String("classroom"))
        options.role = setup::Role::Classroom;
    else if (role != QLatin1String("local")) {
        err << "--role には server、classroom、local のどれかを指定して下さい。\n";
        return 2;
    }
    if (options.role == setup::Role::Server) {
        options.group = parser.value(groupOption);
        options.staffGroup = parser.value(staffGroupOption);
        if (options.group.isEmpty() || options.staffGroup.isEmpty()) {
            err << "--role server には --group と --staff-group を指定して下さい。\n";
            return 2;
        }
        options.sambaConf = parser.isSet(sambaOption)
                                ? QDir(parser.value(sambaOption)).absolutePath()
                                : perumina::siteRoot() + QStringLiteral("/perumina-smb.conf");
    } else if (parser.isSet(groupOption) || parser.isSet(staffGroupOption) || parser.isSet(sambaOption)) {
        err << "--group、--staff-group、--samba-conf は --role server のときだけ指定できます。\n";
        return 2;
    }
    if (options.role == setup::Role::Classroom &&
        (parser.isSet(adminOption) || parser.isSet(schoolYearOption) || parser.isSet(demoOption))) {
        err << "--admin、--school-year、--demo は共有フォルダを作るコンピュータ（--role server か local）で"
               "指定して下さい。\n";
        return 2;
    }

    int schoolYear = 0;
    if (parser.isSet(schoolYearOption)) {
        bool ok = false;
        schoolYear = parser.value(schoolYearOption).toInt(&ok);
        if (!ok || schoolYear < 1900 || schoolYear > 9998) {
            err << "--school-year には西暦の年（例: 2026）を指定して下さい。\n";
            return 2;
        }
    }

    options.server = parser.value(serverOption);
    if (options.server.isEmpty() && schoolYear != 0) {
        // Board data alone: the site exists already and its locator names the server.
        out << "サイトのルート: " << perumina::siteRoot() << "\n";
        const auto server = perumina::ReadServerName();
        if (!server || server->isEmpty()) {
            err << "ロケータファイルにサーバー名がありません。--server でサーバー名を指定して下さい。\n";
            return 2;
        }
        setup::Report report;
        tellMoved(setup::startSchoolYear(*server, schoolYear, report));
        for (const QString &path : report.created)
            out << "作成しました: " << path << "\n";
        if (report.created.isEmpty() && report.status.ok)
            out << "すべて作成済みです。変更はありません。\n";
        if (!report.status.ok) {
            err << report.status.error << "\n";
            return 1;
        }
        return 0;
    }
    if (options.server.isEmpty()) {
        err << "--server でサーバー名を指定して下さい。\n";
        return 2;
    }
    // The server name becomes a folder of the share in every path; "..\x" would lead out of the site.
    if (const QString why = perumina::site::nameProblem(options.server, perumina::site::NameKind::ServerName);
        !why.isEmpty()) {
        err << why << "\n";
        return 2;
    }
    if (parser.isSet(adminOption) != parser.isSet(passwordOption)) {
        err << "--admin と --admin-password は一緒に指定して下さい。\n";
        return 2;
    }
    if (parser.isSet(adminOption)) {
        options.adminId = parser.value(adminOption);
        if (options.adminId != options.adminId.trimmed()) {
            err << "管理者IDの前後に空白は使えません。\n";
            return 2;
        }
        options.adminPassword = parser.value(passwordOption);
        for (const QString &value : {options.adminId, options.adminPassword}) {
            const QString why = setup::checkAdministratorValue(value);
            if (!why.isEmpty()) {
                err << why << "\n";
                return 2;
            }
        }
    }
    options.sweeperProgram =
        perumina::resolveProgram(QStringLiteral("InboxSweep.exe"), QCoreApplication::applicationDirPath());

    out << "サイトのルート: " << perumina::siteRoot() << "\n";
    setup::Report report;
    setup::createSite(options, report);
    if (report.status.ok && schoolYear != 0)
        tellMoved(setup::startSchoolYear(options.server, schoolYear, report));
    if (report.status.ok && parser.isSet(demoOption))
        setup::addDemoContent(options.server, QDateTime::currentDateTime(), report);
    if (report.status.ok && options.role == setup::Role::Server)
        setup::finishServerShare(options, report);
    for (const QString &path : report.created)
        out << "作成しました: " << path << "\n";
    for (const QString &path : report.updated)
        out << "更新しました: " << path << "\n";
    if (report.created.isEmpty() && report.updated.isEmpty() && report.status.ok)
        out << "すべて作成済みです。変更はありません。\n";
    for (const QString &note : report.notes)
        out << note << "\n";
    if (options.sweeperProgram.isEmpty())
        err << "InboxSweep が見つからないため、ローカルフォルダにコピーしていません。\n";
    if (!report.status.ok) {
        err << report.status.error << "\n";
        return 1;
    }
    return 0;
}
