// read_helper READER: runs one reader of shared files on the site of $PERUMINA_ROOT (server SERVER) as
// the screen that uses it does, under a hard cap of 400 MB, and prints "records problem peak_kB ms".
// Exit 0 when the reader came back; a reader over the cap is killed or fails to allocate.
#include "admin/core/console.h"
#include "client/core/login.h"
#include "client/core/mail.h"
#include "client/core/registry.h"
#include "shared/site.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr rlim_t kCapBytes = 400ull * 1024 * 1024;
const QString kServer = QStringLiteral("SERVER");

struct Outcome
{
    qsizetype records = 0;
    bool problem = false;
};

Outcome run(const QString &reader)
{
    Outcome out;
    QString problem;
    if (reader == QStringLiteral("inbox")) { // the login copies the inbox, then the reader reads the copy
        if (client::fetchInbox(kServer, QStringLiteral("受信者"), &problem))
            out.records = client::readTable(perumina::site::localInboxCopy())
                              .value_or(QList<client::InboxRecord>())
                              .size();
    } else if (reader == QStringLiteral("log")) {
        const admin::LogText log = admin::loadLogText(kServer);
        out.records = log.size();
        problem = log.problem;
    } else if (reader == QStringLiteral("console-users")) {
        out.records = admin::readUserEntries(kServer, &problem).size();
    } else if (reader == QStringLiteral("login-screen") || reader == QStringLiteral("login-button")) {
        QString other;
        const auto admin = client::loadAdminRecordLines(kServer, &problem);
        const auto credentials = client::loadCredentialLines(kServer, &other);
        if (problem.isEmpty())
            problem = other;
        if (admin) {
            const client::LoginResult login =
                client::checkLogin(*admin, credentials, QStringLiteral("taro"), QStringLiteral("taro123"));
            out.records = admin->size() + login.failure;
        }
    } else if (reader == QStringLiteral("registration")) {
        const client::RegistryLists lists = client::loadRegistryLists(kServer);
        problem = lists.problem;
        const QStringList sorted = client::sortedUserNames(lists.userNames);
        out.records =
            lists.fullNames.size() + sorted.size() + client::joinedWithLineEnds(lists.userNames).size();
    } else {
        std::exit(2);
    }
    out.problem = !problem.isEmpty();
    return out;
}

} // namespace

int main(int argc, char **argv)
{
#ifdef __SANITIZE_ADDRESS__
    // The address sanitizer reserves terabytes of address space; its own RSS cap stands in for the limit.
    const QByteArray options = qgetenv("ASAN_OPTIONS");
    if (!options.contains("hard_rss_limit_mb=400"))
        return 2;
#else
    const rlimit cap{kCapBytes, kCapBytes};
    if (::setrlimit(RLIMIT_AS, &cap) != 0)
        return 2;
#endif
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QElapsedTimer timer;
    timer.start();
    const Outcome out = run(QString::fromLocal8Bit(argv[1]));
    const qint64 ms = timer.elapsed();
    // The peak of this program alone: ru_maxrss would carry the starting process's over the exec.
    long peakKb = -1;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                peakKb = line.mid(6).trimmed().split(' ').first().toLong();
    std::printf("%lld %d %ld %lld\n", static_cast<long long>(out.records), out.problem ? 1 : 0, peakKb,
                static_cast<long long>(ms));
    return 0;
}
