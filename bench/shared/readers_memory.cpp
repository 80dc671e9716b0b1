// readers_memory [MEGABYTES]: plants files of the worst shapes (default 50 MB each) on a site and runs
// every reader of shared files a pupil can fill as its screen does, each in a child process of its
// own, and prints the peak memory of the child (ru_maxrss) and the time the read took. Prints; asserts
// nothing but that every read ends.
#include "admin/core/console.h"
#include "client/core/login.h"
#include "client/core/mail.h"
#include "client/core/registry.h"
#include "shared/paths.h"
#include "shared/site.h"
#include "tests/common/readershapes.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace perumina;
const QString kServer = QStringLiteral("SERVER");
const QString kRecipient = QStringLiteral("受信者");

using testing_support::kShapes;
using testing_support::Shape;
using testing_support::shaped;

struct Reader
{
    const char *name;
    QStringList files;               // the shared files planted for it
    std::function<qsizetype()> read; // gives a count, so that the read is not dropped
};

QList<Reader> readers()
{
    return {
        {"inbox at login",
         {site::inbox(kServer, kRecipient)},
         [] {
             if (!client::fetchInbox(kServer, kRecipient))
                 return qsizetype(-1);
             return client::readTable(site::localInboxCopy()).value_or(QList<client::InboxRecord>()).size();
         }},
        {"log (console)", {site::messageLog(kServer)}, [] { return admin::loadLogText(kServer).size(); }},
        {"管理情報 (console)",
         {site::adminRecordsFile(kServer)},
         [] { return admin::readUserEntries(kServer).size(); }},
        {"管理情報 (login screen)",
         {site::adminRecordsFile(kServer)},
         [] { return client::loadAdminRecordLines(kServer).value_or(QStringList()).size(); }},
        {"登録者一覧 (registration)",
         {site::fullNamesFile(kServer), site::userNamesFile(kServer)},
         [] {
             const client::RegistryLists lists = client::loadRegistryLists(kServer);
             return lists.fullNames.size() + client::sortedUserNames(lists.userNames).size();
         }},
        {"認証情報 (login button)",
         {site::credentialsFile(kServer)},
         [] {
             const auto admin = client::loadAdminRecordLines(kServer).value_or(QStringList());
             return qsizetype(
                 client::checkLogin(admin, client::loadCredentialLines(kServer), "taro", "pw").failure);
         }},
    };
}

long maxRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs the read in a child, so that each figure is a peak of its own; false when the child failed.
bool measure(const Reader &reader, long figures[3])
{
    int pipe[2];
    if (::pipe(pipe) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        ::close(pipe[0]);
        QElapsedTimer timer;
        timer.start();
        const qsizetype n = reader.read();
        const long out[3] = {maxRssKb(), long(timer.elapsed()), long(n)};
        const ssize_t written = ::write(pipe[1], out, sizeof out);
        _exit(written == sizeof out ? 0 : 1);
    }
    ::close(pipe[1]);
    const ssize_t got = ::read(pipe[0], figures, 3 * sizeof(long));
    ::close(pipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got == 3 * sizeof(long) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    const double megabytes = argc > 1 ? QByteArray(argv[1]).toDouble() : 50;
    const auto size = static_cast<qsizetype>(megabytes * 1024 * 1024);
    QTemporaryDir dir;
    qputenv("PERUMINA_ROOT", dir.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
    QDir().mkpath(site::userFolder(kServer, kRecipient));
    QDir().mkpath(site::adminFolder(kServer));
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    for (const QString &path : {site::fullNamesFile(kServer), site::credentialsFile(kServer),
                                site::adminRecordsFile(kServer), site::userNamesFile(kServer)})
        write(path, {});
    std::printf("%-18s %-28s %10s %9s %8s\n", "file", "reader", "records", "peak MB", "ms");
    int failures = 0;
    for (const Shape &shape : kShapes) {
        const QByteArray bytes = shaped(shape, size);
        for (const Reader &reader : readers()) {
            for (const QString &file : reader.files)
                if (!write(file, bytes))
                    return 2;
            long figures[3] = {-1, -1, -1};
            const bool ok = measure(reader, figures);
            failures += !ok;
            for (const QString &file : reader.files)
                write(file, {});
            std::printf("%-18s %-28s %10ld %9.1f %8ld%s\n", shape.name, reader.name, figures[2],
                        figures[0] / 1024.0, figures[1], ok ? "" : "  FAILED");
            std::fflush(stdout);
        }
    }
    return failures == 0 ? 0 : 1;
}
