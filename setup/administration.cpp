#include "setup/administration.h"

#include "client/core/registryadmin.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <QStringDecoder>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <string>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace setup {

using perumina::Status;

AdministrationOptions::AdministrationOptions(QCommandLineParser &parser)
    : resetOption_(QStringLiteral("reset-password"),
                   QStringLiteral("USER のパスワードを変更します。新しいパスワードは標準入力から読みます"
                                  "（端末では2回入力）。登録のときと同じく７文字まで、コンマと"
                                  "ダブルクォーテーションは使えません。"),
                   QStringLiteral("USER")),
      retireOption_(QStringLiteral("retire"),
                    QStringLiteral("本名 FULLNAME の人（続けて書いた本名の人も）を退会させます。登録ファイル"
                                   "4つから消し、本人のフォルダと管理用フォルダを 管理データ/退会者/"
                                   "本名-年月日/ へ移します（削除はしません）。"),
                    QStringLiteral("FULLNAME")),
      retireListOption_(
          QStringLiteral("retire-list"),
          QStringLiteral("FILE に1行に1人ずつ書いた本名の人を退会させます（UTF-8 か Shift-JIS）。"),
          QStringLiteral("FILE"))
{
    parser.addOptions({resetOption_, retireOption_, retireListOption_});
}

bool AdministrationOptions::requested(const QCommandLineParser &parser) const
{
    return parser.isSet(resetOption_) || parser.isSet(retireOption_) || parser.isSet(retireListOption_);
}

QStringList readNameList(const QByteArray &bytes)
{
    QByteArray body = bytes;
    const bool marked = body.startsWith("\xEF\xBB\xBF");
    if (marked)
        body.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!marked && utf8.hasError())
        text = perumina::decodeCp932(body);
    QStringList names;
    for (const QString &line : perumina::splitLines(text))
        if (const QString name = line.trimmed(); !name.isEmpty())
            names.append(name);
    return names;
}

QString operatingAccount()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("USERNAME");
#else
    const struct passwd *entry = ::getpwuid(::geteuid());
    QString account = entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(::geteuid());
    if (const QString sudo = qEnvironmentVariable("SUDO_USER"); !sudo.isEmpty() && sudo != account)
        account += QStringLiteral("（sudo: %1）").arg(sudo);
    return account;
#endif
}

namespace {

// One line of standard input without its line end; nothing at its end.
std::optional<QString> readLine(bool hidden)
{
#ifndef Q_OS_WIN
    termios saved{};
    const bool terminal = hidden && ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
#endif
    std::string line;
    const bool got = bool(std::getline(std::cin, line));
#ifndef Q_OS_WIN
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
#endif
    if (!got)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}

std::optional<QString> readNewPassword(QTextStream &err)
{
#ifndef Q_OS_WIN
    if (::isatty(STDIN_FILENO)) {
        err << "新しいパスワード: " << Qt::flush;
        const auto first = readLine(true);
        err << "もう一度: " << Qt::flush;
        const auto second = readLine(true);
        if (!first || !second || *first != *second) {
            err << "2つのパスワードが違います。\n";
            return std::nullopt;
        }
        return first;
    }
#endif
    const auto password = readLine(false);
    if (!password)
        err << "標準入力に新しいパスワードがありません。\n";
    return password;
}

} // namespace

int AdministrationOptions::run(const QCommandLineParser &parser, QTextStream &out, QTextStream &err) const
{
    if (parser.isSet(resetOption_) && (parser.isSet(retireOption_) || parser.isSet(retireListOption_))) {
        err << "--reset-password と --retire は別々に実行して下さい。\n";
        return 2;
    }
    QString server = parser.value(QStringLiteral("server"));
    if (server.isEmpty())
        server = perumina::ReadServerName().value_or(QString());
    if (server.isEmpty()) {
        err << "ロケータファイルにサーバー名がありません。--server でサーバー名を指定して下さい。\n";
        return 2;
    }
    out << "サイトのルート: " << perumina::siteRoot() << "\n";
    for (const Status &status :
         {client::checkStaffRights(server), client::checkAdministrationRecord(server)}) {
        if (!status) {
            err << status.error << "\n";
            return 1;
        }
    }
    const QString who = operatingAccount();
    auto record = [&](const QString &what) {
        if (const Status recorded =
                client::appendAdministrationRecord(server, QDateTime::currentDateTime(), who, what);
            !recorded)
            err << "管理作業記録に書き込めませんでした: " << recorded.error << "\n";
    };

    if (parser.isSet(resetOption_)) {
        const QString userName = parser.value(resetOption_);
        const auto people = client::readRegisteredPeople(server);
        std::optional<client::RegisteredPerson> person;
        for (const client::RegisteredPerson &p : people.value_or(QList<client::RegisteredPerson>()))
            if (p.userName == userName)
                person = p;
        if (!person) {
            err << (people ? QStringLiteral("ユーザー名「%1」は登録されていません。何も変更していません。")
                                 .arg(userName)
                           : QStringLiteral("管理情報.txt を読めませんでした。"))
                << "\n";
            return 1;
        }
        const auto password = readNewPassword(err);
        if (!password)
            return 1;
        if (const Status done = client::resetPassword(server, userName, *password); !done) {
            err << done.error << "\n";
            return 1;
        }
        record(client::passwordResetRecord(userName, person->fullName));
        out << "パスワードを変更しました: " << userName << "（" << person->fullName << "）\n";
        return 0;
    }

    QStringList names = parser.values(retireOption_);
    if (parser.isSet(retireOption_))
        names += parser.positionalArguments();
    for (const QString &list : parser.values(retireListOption_)) {
        QFile file(list);
        if (!file.open(QIODevice::ReadOnly)) {
            err << "名簿ファイルを読めませんでした: " << list << "\n";
            return 1;
        }
        names += readNameList(file.readAll());
    }
    names.removeDuplicates();
    if (names.isEmpty()) {
        err << "退会させる人の本名がありません。\n";
        return 2;
    }
    const client::RetireResult done = client::retirePeople(server, names, QDate::currentDate());
    for (const QString &name : done.unknown)
        err << "登録されていない本名です: " << name << "\n";
    if (!done.status) {
        if (!done.unknown.isEmpty()) {
            err << "何も変更していません。\n";
            return 1;
        }
        err << done.status.error << "\n";
        record(client::retireRecord(done, names));
        return 1;
    }
    record(client::retireRecord(done, names));
    for (const QString &name : names)
        out << "退会させました: " << name << "\n";
    for (const QString &archive : done.archives)
        out << "フォルダを移しました: " << archive << "\n";
    out << "作業を記録しました: " << perumina::site::administrationRecord() << "\n";
    return 0;
}

} // namespace setup
