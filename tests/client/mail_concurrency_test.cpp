// Deliveries from several processes at once, and deliveries cut off by a crash.
#include "client/core/mail.h"
#include "common/testsite.h"
#include "mailsite.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <vector>

using namespace client;
using testing_support::registerUser;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kHanako = QStringLiteral("佐藤花子");

QString helperPath()
{
    return testing_support::testBinDir() + QStringLiteral("/deliver_helper");
}

QStringList helperArgs(const QString &tag, int count)
{
    return {kServer, QStringLiteral("taro"), kHanako, tag, QString::number(count)};
}

// The body the helper writes for a title.
QString bodyFor(const QString &title)
{
    return QStringLiteral("本文 %1\r\n二行目, \"引用\" です").arg(title);
}

struct InboxCheck
{
    QStringList titles; // newest first
};

// An inbox written only by deliveries into an empty file: k whole mails, then exactly k empty lines
// (read as one empty record).
InboxCheck checkInbox(const QByteArray &bytes)
{
    InboxCheck check;
    const QList<InboxRecord> records = parseInbox(perumina::decodeCp932(bytes));
    qsizetype i = 0;
    for (; i < records.size() && records[i] != InboxRecord{}; ++i) {
        const InboxRecord &r = records[i];
        EXPECT_TRUE(showRecord(records, int(i)).complete) << "record " << i;
        EXPECT_EQ(r.sender, QStringLiteral("taro"));
        EXPECT_EQ(r.body, bodyFor(r.title)) << r.title.toStdString();
        check.titles.append(r.title);
    }
    const qsizetype mails = i;
    for (; i < records.size(); ++i)
        EXPECT_EQ(records[i], InboxRecord{}) << "a mail after the empty lines, record " << i;
    EXPECT_EQ(records.size() - mails, mails > 0 ? 1 : 0) << "the empty lines are read as one record";
    if (!bytes.isEmpty()) {
        EXPECT_TRUE(bytes.endsWith("\"\r\n" + QByteArray("\r\n").repeated(int(mails))));
    }
    return check;
}

// Every record of the log whole, six fields, addressed to 佐藤花子; the titles in order of sending.
QStringList checkLog(const QByteArray &bytes)
{
    QStringList titles;
    if (!bytes.isEmpty()) {
        EXPECT_TRUE(bytes.endsWith("\"\r\n"));
    }
    for (const QStringList &r : parseMailRecords(perumina::decodeCp932(bytes), 6)) {
        EXPECT_EQ(r[2], QStringLiteral("taro"));
        EXPECT_EQ(r[3], kHanako);
        EXPECT_EQ(r[5], bodyFor(r[4])) << r[4].toStdString();
        titles.append(r[4]);
    }
    return titles;
}

// A crash between creating a lock file and writing its owner into it leaves a lock that only its age
// (30 s) marks as stale; until then deliveries report the file as in use. Makes such empty lock files of
// the inbox and the log look 60 s old, as they would after waiting.
int ageEmptyLocks(const TempSite &site)
{
    int aged = 0;
    for (const QString &path :
         {perumina::site::inbox(kServer, kHanako), perumina::site::messageLog(kServer)}) {
        QFile lock(site.local(path) + QStringLiteral(".lock"));
        if (!lock.exists() || lock.size() != 0 || !lock.open(QIODevice::ReadWrite))
            continue;
        if (lock.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime))
            ++aged;
    }
    return aged;
}

} // namespace

TEST(MailConcurrency, eightProcessesDeliveringFiftyMailsEachLoseNothing)
{
    TempSite site;
    site.makeSite(kServer);
    registerUser(site, QStringLiteral("taro"), QStringLiteral("山田太郎"), QStringLiteral("pw1"));
    registerUser(site, QStringLiteral("hana"), kHanako, QStringLiteral("pw2"));

    std::vector<std::unique_ptr<QProcess>> processes;
    for (int p = 0; p < 8; ++p) {
        auto process = std::make_unique<QProcess>();
        process->start(helperPath(), helperArgs(QStringLiteral("p%1").arg(p), 50));
        processes.push_back(std::move(process));
    }
    for (auto &process : processes) {
        ASSERT_TRUE(process->waitForFinished(240000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }

    const InboxCheck inbox = checkInbox(site.bytes(perumina::site::inbox(kServer, kHanako)));
    const QStringList logged = checkLog(site.bytes(perumina::site::messageLog(kServer)));
    ASSERT_EQ(inbox.titles.size(), 400);
    ASSERT_EQ(logged.size(), 400);
    QSet<QString> expected;
    for (int p = 0; p < 8; ++p)
        for (int i = 0; i < 50; ++i)
            expected.insert(QStringLiteral("p%1-%2").arg(p).arg(i));
    EXPECT_EQ(QSet<QString>(inbox.titles.begin(), inbox.titles.end()), expected);
    EXPECT_EQ(QSet<QString>(logged.begin(), logged.end()), expected);

    // Each sender's mails stand newest first in the inbox and oldest first in the log.
    QMap<QString, int> lastInInbox, lastInLog;
    for (const QString &title : inbox.titles) {
        const QString tag = title.section(u'-', 0, 0);
        const int n = title.section(u'-', 1).toInt();
        EXPECT_EQ(n, lastInInbox.value(tag, 50) - 1) << title.toStdString();
        lastInInbox[tag] = n;
    }
    for (const QString &title : logged) {
        const QString tag = title.section(u'-', 0, 0);
        const int n = title.section(u'-', 1).toInt();
        EXPECT_EQ(n, lastInLog.value(tag, -1) + 1) << title.toStdString();
        lastInLog[tag] = n;
    }
}

TEST(MailConcurrency, aDeliveryKilledAtAnyMomentLeavesBothFilesWhole)
{
    TempSite site;
    site.makeSite(kServer);
    registerUser(site, QStringLiteral("taro"), QStringLiteral("山田太郎"), QStringLiteral("pw1"));
    registerUser(site, QStringLiteral("hana"), kHanako, QStringLiteral("pw2"));
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    qsizetype mails = 0;

    QElapsedTimer total;
    total.start();
    int emptyLocks = 0;
    int round = 0;
    for (int attempts = 0; round < 50 && attempts < 60 && total.elapsed() < 120000; ++attempts) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        QProcess process;
        process.start(helperPath(), helperArgs(QStringLiteral("k%1").arg(round), 100000));
        ASSERT_TRUE(process.waitForStarted(20000));
        // The first delivery has ended; the kill lands somewhere in the ones after it.
        if (!process.waitForReadyRead(20000)) {
            if (process.state() != QProcess::NotRunning) {
                ASSERT_TRUE(process.waitForFinished(20000));
            }
            const int aged = ageEmptyLocks(site);
            ASSERT_GT(aged, 0) << process.readAllStandardError().toStdString();
            emptyLocks += aged;
            continue;
        }
        QThread::usleep(random.bounded(40000u));
        process.kill();
        ASSERT_TRUE(process.waitForFinished(20000));
        ASSERT_EQ(process.exitStatus(), QProcess::CrashExit) << "the helper ended before it was killed";
        emptyLocks += ageEmptyLocks(site);

        const InboxCheck inbox = checkInbox(site.bytes(perumina::site::inbox(kServer, kHanako)));
        const QStringList logged = checkLog(site.bytes(perumina::site::messageLog(kServer)));
        // The log is written first, so it holds every delivered mail and at most one per crash more.
        EXPECT_GE(logged.size(), inbox.titles.size());
        EXPECT_LE(logged.size(), inbox.titles.size() + round + 1);
        for (const QString &title : inbox.titles)
            EXPECT_TRUE(logged.contains(title)) << title.toStdString();
        if (testing::Test::HasFailure())
            return;
        ++round;
        mails = inbox.titles.size();
    }
    // Temporary files of replacements cut off by a kill stay beside the inbox; readers never open them.
    const QStringList leftovers = QDir(site.local(perumina::site::userFolder(kServer, kHanako)))
                                      .entryList({QStringLiteral("受信箱.txt.*")}, QDir::Files);
    std::cout << "killed " << round << " deliveries; " << mails << " mails whole; " << emptyLocks
              << " empty lock files aged; " << leftovers.size() << " files beside the inbox" << std::endl;
    EXPECT_EQ(round, 50);
    EXPECT_LT(total.elapsed(), 180000);
}
