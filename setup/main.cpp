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
#include <optional>

namespace {

// The exit codes the manual page lists.
constexpr int kDone = 0;
constexpr int kFailed = 1;       // a file or folder could not be made, or a check refused the run
constexpr int kWrongOptions = 2; // nothing was written

// What the command line asks for, checked.
struct Options
{
    setup::SiteOptions site;
    int schoolYear = 0; // 0: no school year asked for
    bool goBack = false;
    bool demo = false;
};

// The command line's options, described in Japanese for --help.
struct OptionTable
{
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("この説明を表示して終わります。")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("バージョンを表示して終わります。")};
    QCommandLineOption root{
        QStringLiteral("root"),
        QStringLiteral("サイトのルートフォルダ。省略時は環境変数 PERUMINA_ROOT（未設定なら ~/.perumina）。"),
        QStringLiteral("DIR")};
    QCommandLineOption server{
        QStringLiteral("server"),
        QStringLiteral(
            "職員室のサーバーのコンピュータ名。ロケータファイル c/group/ぺるみな.txt に書かれます。"),
        QStringLiteral("NAME")};
    QCommandLineOption admin{
        QStringLiteral("admin"),
        QStringLiteral(
            "管理者ID（--admin-password と一緒に指定）。管理者情報.txt が無いときだけ書き込みます。"),
        QStringLiteral("ID")};
    QCommandLineOption adminPassword{QStringLiteral("admin-password"),
                                     QStringLiteral("管理者のパスワード（--admin と一緒に指定）。"),
                                     QStringLiteral("PW")};
    QCommandLineOption addAdmin{
        QStringLiteral("add-admin"),
        QStringLiteral("--admin の管理者を、管理者情報.txt に加えます（今の管理者はそのまま使えます）。")};
    QCommandLineOption replaceAdmin{
        QStringLiteral("replace-admin"),
        QStringLiteral("管理者情報.txt を --admin の管理者ひとりだけにします（管理者の交代）。")};
    QCommandLineOption schoolYear{
        QStringLiteral("school-year"),
        QStringLiteral(
            "YYYY年4月1日から始まる年度のボードデータ（日付取得.txt、行事予定.txt、給食予定.txt、"
            "年月取得.txt、月別行事.txt）を、無いものだけ作ります。新しい年度にするときは、前の年度の"
            "5つのファイルを管理データの「(その年)年度」フォルダへ移します（削除はしません）。ボードが"
            "1つでも開いている間は何もしません。今の年度より前の年は、--go-back が無ければ受け付けません。"
            "--server を省略すると、ロケータファイルのサーバー名を使います。"),
        QStringLiteral("YYYY")};
    QCommandLineOption goBack{
        QStringLiteral("go-back"),
        QStringLiteral("--school-year で今の年度より前の年度に戻します。今の年度のファイルは「(その年)年度」"
                       "フォルダへ移し、戻す年度のフォルダに保管してあるファイルを管理データに戻します。")};
    QCommandLineOption demo{
        QStringLiteral("demo"),
        QStringLiteral(
            "デモ用の内容を加えます: 児童と先生の登録、メール、イラスト1枚、今週の予定と給食、今月の行事"
            "（今年度のボードデータが無ければ作ります）。利用者とメールは、まだ誰も登録していない"
            "サイトにだけ加えます。")};
    QCommandLineOption role{
        QStringLiteral("role"),
        QStringLiteral(
            "このコンピュータの役割。server: 職員室のサーバー（共有フォルダを作り、グループと権限を設定し、"
            "Samba の共有設定を書きます）。classroom: 教室のコンピュータ（ロケータと InboxSweep だけを"
            "作ります。共有フォルダにつながっていなければ何もしません）。local（省略時）: 1台のディスクに"
            "サイト全体を作ります（デモや試験用）。"),
        QStringLiteral("ROLE"), QStringLiteral("local")};
    QCommandLineOption group{
        QStringLiteral("group"),
        QStringLiteral(
            "--role server: 児童と先生のアカウントが入るグループ。共有フォルダの持ち主になります。"),
        QStringLiteral("GROUP")};
    QCommandLineOption staffGroup{
        QStringLiteral("staff-group"),
        QStringLiteral("--role server: 管理者情報.txt を読めるグループ（職員のアカウントだけが入るもの）。"),
        QStringLiteral("GROUP")};
    QCommandLineOption sambaConf{
        QStringLiteral("samba-conf"),
        QStringLiteral("--role server: Samba の共有設定を書くファイル。省略時は ROOT/perumina-smb.conf。"),
        QStringLiteral("FILE")};
    QCommandLineOption smbConf{
        QStringLiteral("smb-conf"),
        QStringLiteral("--role server: Samba の設定ファイル（ふつうは /etc/samba/smb.conf）。その [global] の"
                       "最後に共有設定を読み込む include の行を一度だけ加え（元の内容は FILE.日時.bak に"
                       "残します）、testparm で設定全体を確かめます。警告が1つでもあれば変更しません。"),
        QStringLiteral("FILE")};

    QList<QCommandLineOption> all() const
    {
        return {help,       version, root, server, admin, adminPassword, addAdmin,  replaceAdmin,
                schoolYear, goBack,  demo, role,   group, staffGroup,    sambaConf, smbConf};
    }
};

// text in lines of at most width terminal columns (a Japanese character takes two), each after indent.
// Lines break between Japanese characters or at spaces, never before a closing mark, after an opening
// one or inside a word.
QString wrapped(const QString &text, int width, const QString &indent)
{
    static const QString noLineStart = QStringLiteral("。、）」』：)");
    static const QString noLineEnd = QStringLiteral("「『（(");
    auto columns = [](QChar c) { return c.unicode() < 0x1100 ? 1 : 2; };
    QString result;
    QString line;
    int used = 0;
    for (const QChar c : text) {
        if (used + columns(c) > width && !noLineStart.contains(c) && !line.isEmpty()) {
            QString carry;
            // An ASCII word is never split: it moves to the next line whole.
            if (c.unicode() < 0x80 && c != u' ') {
                const qsizetype space = line.lastIndexOf(u' ');
                qsizetype start = line.size();
                while (start > 0 && line[start - 1].unicode() < 0x80 && line[start - 1] != u' ')
                    --start;
                if (start > 0 && (space < 0 || start > space)) {
                    carry = line.mid(start);
                    line.truncate(start);
                }
            }
            // An opening mark stays with what it opens.
            while (!line.isEmpty() && noLineEnd.contains(line.back())) {
                carry.prepend(line.back());
                line.chop(1);
            }
            result += indent + line.trimmed() + u'\n';
            line = carry;
            used = 0;
            for (const QChar k : line)
                used += columns(k);
        }
        line += c;
        used += columns(c);
    }
    if (!line.isEmpty())
        result += indent + line.trimmed() + u'\n';
    return result;
}

QString helpText(const QList<QCommandLineOption> &options)
{
    QString text = QStringLiteral(
        "使い方: PeruminaSetup [オプション]\n"
        "ぺるみなのサイトを作成します。共有フォルダ（unc/サーバー名/ぺるみな/）と、このコンピュータの\n"
        "ローカルフォルダ（c/group/）のうち、無いものだけを作り、既にあるものは変更しません。\n"
        "終了コード: 0 成功、1 作成や確認に失敗、2 オプションの誤り（何も書いていません）。\n\n"
        "オプション:\n");
    for (const QCommandLineOption &option : options) {
        QStringList names;
        for (const QString &name : option.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        text += QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            text += u' ' + option.valueName();
        text += u'\n' + wrapped(option.description(), 72, QStringLiteral("      "));
    }
    return text;
}

// Why the command line cannot be read, in words of this program.
QString parseError(const QCommandLineParser &parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        QStringList names;
        for (const QString &name : parser.unknownOptionNames())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        return QStringLiteral("知らないオプションです: %1（PeruminaSetup --help で一覧を表示します）")
            .arg(names.join(QStringLiteral("、")));
    }
    // The parser's only other complaint is an option whose value is missing; it names the option in quotes.
    const QString text = parser.errorText();
    const qsizetype from = text.indexOf(u'\'');
    const qsizetype to = text.lastIndexOf(u'\'');
    if (from >= 0 && to > from)
        return QStringLiteral("%1 の後に値を指定して下さい。").arg(text.mid(from + 1, to - from - 1));
    return QStringLiteral("オプションを読めませんでした。PeruminaSetup --help で使い方を表示します。");
}

// Reads and checks everything before anything is written; the exit code when the run must end.
std::optional<int> readOptions(const QCommandLineParser &parser, const OptionTable &table, Options &options,
                               QTextStream &err)
{
    auto wrong = [&](const QString &why) {
        err << why << "\n";
        return std::optional<int>(kWrongOptions);
    };
    if (!parser.positionalArguments().isEmpty())
        return wrong(QStringLiteral("余分な引数があります: %1").arg(parser.positionalArguments().join(u' ')));
    if (parser.isSet(table.root))
        qputenv("PERUMINA_ROOT", QDir(parser.value(table.root)).absolutePath().toUtf8());

    setup::SiteOptions &site = options.site;
    const QString role = parser.value(table.role);
    if (role == QLatin1String("server"))
        site.role = setup::Role::Server;
    else if (role == QLatin1String("classroom"))
        site.role = setup::Role::Classroom;
    else if (role != QLatin1String("local"))
        return wrong(QStringLiteral("--role には server、classroom、local のどれかを指定して下さい。"));
    if (site.role == setup::Role::Server) {
        site.group = parser.value(table.group);
        site.staffGroup = parser.value(table.staffGroup);
        if (site.group.isEmpty() || site.staffGroup.isEmpty())
            return wrong(QStringLiteral("--role server には --group と --staff-group を指定して下さい。"));
        site.sambaConf = parser.isSet(table.sambaConf)
                             ? QDir(parser.value(table.sambaConf)).absolutePath()
                             : perumina::siteRoot() + QStringLiteral("/perumina-smb.conf");
        if (parser.isSet(table.smbConf))
            site.smbConf = QDir(parser.value(table.smbConf)).absolutePath();
    } else if (parser.isSet(table.group) || parser.isSet(table.staffGroup) || parser.isSet(table.sambaConf) ||
               parser.isSet(table.smbConf)) {
        return wrong(QStringLiteral(
            "--group、--staff-group、--samba-conf、--smb-conf は --role server のときだけ指定できます。"));
    }
    if (site.role == setup::Role::Classroom &&
        (parser.isSet(table.admin) || parser.isSet(table.schoolYear) || parser.isSet(table.demo)))
        return wrong(QStringLiteral("--admin、--school-year、--demo は共有フォルダを作るコンピュータ"
                                    "（--role server か local）で指定して下さい。"));

    if (parser.isSet(table.schoolYear)) {
        bool ok = false;
        options.schoolYear = parser.value(table.schoolYear).toInt(&ok);
        if (!ok || options.schoolYear < 1900 || options.schoolYear > 9998)
            return wrong(QStringLiteral("--school-year には西暦の年（例: 2026）を指定して下さい。"));
    }
    options.goBack = parser.isSet(table.goBack);
    if (options.goBack && options.schoolYear == 0)
        return wrong(QStringLiteral("--go-back は --school-year と一緒に指定して下さい。"));
    options.demo = parser.isSet(table.demo);

    site.server = parser.value(table.server);
    // The server name becomes a folder of the share in every path; "..\x" would lead out of the site.
    if (!site.server.isEmpty()) {
        if (const QString why =
                perumina::site::nameProblem(site.server, perumina::site::NameKind::ServerName);
            !why.isEmpty())
            return wrong(why);
    } else if (options.schoolYear == 0 || parser.isSet(table.admin) || options.demo ||
               parser.isSet(table.role)) {
        return wrong(QStringLiteral("--server でサーバー名を指定して下さい。"));
    }

    if (parser.isSet(table.admin) != parser.isSet(table.adminPassword))
        return wrong(QStringLiteral("--admin と --admin-password は一緒に指定して下さい。"));
    if (parser.isSet(table.addAdmin) && parser.isSet(table.replaceAdmin))
        return wrong(QStringLiteral("--add-admin と --replace-admin は一緒には指定できません。"));
    if ((parser.isSet(table.addAdmin) || parser.isSet(table.replaceAdmin)) && !parser.isSet(table.admin))
        return wrong(QStringLiteral("--add-admin と --replace-admin には --admin と --admin-password を"
                                    "指定して下さい。"));
    if (parser.isSet(table.admin)) {
        site.adminId = parser.value(table.admin);
        if (site.adminId != site.adminId.trimmed())
            return wrong(QStringLiteral("管理者IDの前後に空白は使えません。"));
        site.adminPassword = parser.value(table.adminPassword);
        for (const QString &value : {site.adminId, site.adminPassword})
            if (const QString why = setup::checkAdministratorValue(value); !why.isEmpty())
                return wrong(why);
        site.adminChange = parser.isSet(table.addAdmin)       ? setup::AdminChange::Add
                           : parser.isSet(table.replaceAdmin) ? setup::AdminChange::Replace
                                                              : setup::AdminChange::IfMissing;
    }
    // A group that is not there would leave files behind that nobody can use.
    if (site.role == setup::Role::Server)
        if (const QString why = setup::serverOptionsProblem(site); !why.isEmpty())
            return wrong(why);
    return std::nullopt;
}

int finishWith(const setup::Report &report, QTextStream &out, QTextStream &err)
{
    for (const QString &path : report.created)
        out << "作成しました: " << path << "\n";
    for (const QString &path : report.updated)
        out << "更新しました: " << path << "\n";
    if (report.created.isEmpty() && report.updated.isEmpty() && report.status.ok)
        out << "すべて作成済みです。変更はありません。\n";
    for (const QString &note : report.notes)
        out << note << "\n";
    if (!report.status.ok) {
        err << report.status.error << "\n";
        return kFailed;
    }
    return kDone;
}

void startSchoolYear(const QString &server, const Options &options, setup::Report &report, QTextStream &out)
{
    const setup::YearChange change =
        setup::startSchoolYear(server, options.schoolYear, report, options.goBack);
    for (const QString &path : change.moved)
        out << change.oldYear << "年度のファイルを移しました: " << path << "\n";
    for (const QString &path : change.restored)
        out << options.schoolYear << "年度のファイルを戻しました: " << path << "\n";
}

// The school year alone, on a site that exists already: its locator names the server.
int runSchoolYear(const Options &options, QTextStream &out, QTextStream &err)
{
    const auto server = perumina::ReadServerName();
    if (!server || server->isEmpty()) {
        err << "ロケータファイルにサーバー名がありません。--server でサーバー名を指定して下さい。\n";
        return kWrongOptions;
    }
    setup::Report report;
    startSchoolYear(*server, options, report, out);
    return finishWith(report, out, err);
}

// The site of this computer's role, then the jobs asked for.
int runSite(Options options, QTextStream &out, QTextStream &err)
{
    options.site.sweeperProgram =
        perumina::resolveProgram(QStringLiteral("InboxSweep.exe"), QCoreApplication::applicationDirPath());
    setup::Report report;
    setup::createSite(options.site, report);
    if (report.status.ok && options.schoolYear != 0)
        startSchoolYear(options.site.server, options, report, out);
    if (report.status.ok && options.demo)
        setup::addDemoContent(options.site.server, QDateTime::currentDateTime(), report);
    if (report.status.ok && options.site.role == setup::Role::Server)
        setup::finishServerShare(options.site, report);
    if (options.site.sweeperProgram.isEmpty())
        err << "InboxSweep が見つからないため、ローカルフォルダにコピーしていません。\n";
    return finishWith(report, out, err);
}

} // namespace

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
    QCoreApplication::setApplicationName(QStringLiteral("PeruminaSetup"));
    QCoreApplication::setApplicationVersion(perumina::programVersion());
    QTextStream out(stdout);
    QTextStream err(stderr);

    const OptionTable table;
    QCommandLineParser parser;
    parser.addOptions(table.all());
    const setup::AdministrationOptions administration(parser);
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parsed && parser.isSet(table.help)) {
        out << helpText(table.all() + administration.options());
        return kDone;
    }
    if (parsed && parser.isSet(table.version)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << "\n";
        return kDone;
    }
    if (!parsed) {
        err << parseError(parser) << "\n";
        return kWrongOptions;
    }
    if (administration.requested(parser)) {
        if (parser.isSet(table.root))
            qputenv("PERUMINA_ROOT", QDir(parser.value(table.root)).absolutePath().toUtf8());
        return administration.run(parser, out, err);
    }
    Options options;
    if (const auto code = readOptions(parser, table, options, err))
        return *code;
    out << "サイトのルート: " << perumina::siteRoot() << "\n";
    if (options.site.server.isEmpty())
        return runSchoolYear(options, out, err);
    return runSite(options, out, err);
}
