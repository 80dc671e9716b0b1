#include "client/core/illustration.h"
#include "client/core/login.h"
#include "client/core/mail.h"
#include "client/core/newmail.h"
#include "common/testsite.h"
#include "setup/demo.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace perumina;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("DEMOSERVER");

QMap<QString, QByteArray> allFiles(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(path, file.readAll());
    }
    return files;
}

} // namespace

TEST(DemoSite, fillsAFreshSiteThroughTheProgramsOwnLogicOnce)
{
    TempSite site;
    site.makeSite(kServer);
    setup::Report report;
    const QDateTime now(QDate(2026, 6, 10), QTime(15, 30, 0));
    setup::addDemoContent(kServer, now, report);
    ASSERT_TRUE(report.status.ok) << report.status.error.toStdString();
    QStringList once = report.created;
    EXPECT_EQ(once.removeDuplicates(), 0) << report.created.join(u'\n').toStdString();

    // Every demo person can log in with their own password and gets their own full name.
    const auto adminLines = client::loadAdminRecordLines(kServer);
    const auto credentialLines = client::loadCredentialLines(kServer);
    ASSERT_TRUE(adminLines && credentialLines);
    for (const setup::DemoUser &user : setup::demoUsers()) {
        const client::LoginResult login =
            client::checkLogin(*adminLines, credentialLines, user.userName, user.password);
        EXPECT_TRUE(login.ok()) << user.userName.toStdString();
        EXPECT_EQ(login.fullName, user.fullName);
    }

    // Mails: five in the log; 山田太郎 has two, newest first.
    const auto log = ReadLines(perumina::site::messageLog(kServer));
    ASSERT_TRUE(log);
    EXPECT_EQ(client::parseMailRecords(log->join(QStringLiteral("\r\n")), 6).size(), 5);
    const auto table = client::readTable(perumina::site::inbox(kServer, QStringLiteral("山田太郎")));
    ASSERT_TRUE(table);
    QList<client::InboxRecord> taro; // the empty line after each delivery reads as an empty record
    for (const client::InboxRecord &record : *table)
        if (!record.sender.isEmpty())
            taro.append(record);
    ASSERT_EQ(taro.size(), 2);
    EXPECT_EQ(taro.at(0).title, QStringLiteral("宿題について"));
    EXPECT_EQ(taro.at(1).sender, QStringLiteral("hana"));
    // He has read hana's mail, not the teacher's: his menu counts one.
    EXPECT_EQ(client::countNewMails(*table, client::readMailMark(kServer, QStringLiteral("山田太郎"))), 1);

    // One picture, in the recipient's folder and the administrator's copy folder, as a bitmap.
    const auto paths =
        client::illustration::paths(kServer, QStringLiteral("山田太郎"), QStringLiteral("わたしの家"));
    const QByteArray picture = site.bytes(paths.recipientCopy);
    EXPECT_TRUE(picture.startsWith("BM"));
    EXPECT_EQ(site.bytes(paths.adminCopy), picture);
    EXPECT_EQ(client::illustration::list(kServer, QStringLiteral("山田太郎")),
              QStringList{QStringLiteral("わたしの家.jpg")});

    // The boards of this week and month hold data.
    EXPECT_FALSE(
        site.bytes(SharePath(kServer, QStringLiteral("\\ぺるみな\\管理データ\\行事予定.txt"))).isEmpty());
    EXPECT_FALSE(
        site.bytes(SharePath(kServer, QStringLiteral("\\ぺるみな\\管理データ\\月別行事.txt"))).isEmpty());

    // A second run adds nothing.
    const auto before = allFiles(site.root());
    setup::Report again;
    setup::addDemoContent(kServer, now.addSecs(60), again);
    EXPECT_TRUE(again.status.ok);
    EXPECT_EQ(allFiles(site.root()), before);
}

TEST(DemoSite, leavesPeopleAndMailsOfASiteInUseAlone)
{
    TempSite site;
    site.makeSite(kServer);
    site.writeBytes(SharePath(kServer, tails::kUserNames), "\"jiro\"\r\n");
    setup::Report report;
    setup::addDemoContent(kServer, QDateTime(QDate(2026, 6, 10), QTime(15, 30)), report);
    ASSERT_TRUE(report.status.ok);
    EXPECT_EQ(site.bytes(SharePath(kServer, tails::kFullNames)), QByteArray());
    EXPECT_FALSE(QFile::exists(site.local(perumina::site::messageLog(kServer))));
}

// The guide's backup and restore, as a school runs them: the archive is private to root; unpacked into
// a fresh root and set up again, the site works: a pupil logs in and reads their mail.
TEST(DemoSite, theBackupIsPrivateAndItsRestoreGivesAWorkingSite)
{
    QTemporaryDir backups;
    ASSERT_TRUE(backups.isValid());
    const QString archive = backups.filePath(QStringLiteral("perumina-Mon.tar.gz"));
    const QString setupProgram = testing_support::binDir() + QStringLiteral("/PeruminaSetup");
    auto shell = [](const QString &command) {
        QProcess sh;
        sh.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        EXPECT_TRUE(sh.waitForFinished(60000));
        EXPECT_EQ(sh.exitCode(), 0) << command.toStdString() << sh.readAllStandardError().toStdString();
    };
    {
        TempSite site;
        shell(QStringLiteral("'%1' --root '%2' --server %3 --demo >/dev/null")
                  .arg(setupProgram, site.root(), kServer));
        shell(QStringLiteral("umask 077; tar -czf '%1' -C '%2/unc/%3' ぺるみな")
                  .arg(archive, site.root(), kServer));
    }
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(archive).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    TempSite fresh;
    shell(
        QStringLiteral(
            "mkdir -p '%1/unc/%2' && tar -xzf '%3' -C '%1/unc/%2' && '%4' --root '%1' --server %2 >/dev/null")
            .arg(fresh.root(), kServer, archive, setupProgram));
    const auto server = ReadServerName();
    ASSERT_EQ(server, kServer);
    const auto adminLines = client::loadAdminRecordLines(*server);
    ASSERT_TRUE(adminLines);
    const client::LoginResult login = client::checkLogin(*adminLines, client::loadCredentialLines(*server),
                                                         QStringLiteral("taro"), QStringLiteral("taro123"));
    ASSERT_TRUE(login.ok()) << login.failure;
    ASSERT_TRUE(client::fetchInbox(*server, login.fullName).ok);
    const auto table = client::readTable(perumina::site::localInboxCopy());
    ASSERT_TRUE(table);
    EXPECT_TRUE(std::any_of(table->begin(), table->end(), [](const client::InboxRecord &record) {
        return record.title == QStringLiteral("宿題について");
    }));
}
