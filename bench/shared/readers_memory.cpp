// readers_memory [MEGABYTES]: writes files of the worst shapes (default 50 MB each) and reads each with
// every reader of shared files, each read in a child process of its own, and prints the peak memory
// the read added (ru_maxrss of the child after the read, less before it). Prints; asserts nothing but
// that every read ends.
#include "admin/core/console.h"
#include "client/core/mail.h"
#include "shared/records.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Shape
{
    const char *name;
    std::function<QByteArray(qsizetype)> make;
};

QByteArray repeatedTo(const QByteArray &piece, qsizetype size)
{
    return piece.repeated(qMax<qsizetype>(1, size / piece.size()));
}

const Shape kShapes[] = {
    {"quote, then line breaks", [](qsizetype n) { return '"' + repeatedTo("\r\n", n - 1); }},
    {"one line", [](qsizetype n) { return repeatedTo("\x82\xa0", n); }},
    {"commas", [](qsizetype n) { return repeatedTo(",", n); }},
    {"empty quoted fields", [](qsizetype n) { return repeatedTo("\"\",", n); }},
    {"invalid bytes", [](qsizetype n) { return repeatedTo("\xff", n); }},
    {"lone CRs", [](qsizetype n) { return repeatedTo("\r", n); }},
    {"line feeds", [](qsizetype n) { return repeatedTo("\n", n); }},
    {"one-letter lines", [](qsizetype n) { return repeatedTo("a\r\n", n); }},
    {"one-letter fields", [](qsizetype n) { return repeatedTo("a,", n); }},
    {"short mails", [](qsizetype n) { return repeatedTo("\"1\",\"2\",\"3\",\"4\",\"5\"\r\n", n); }},
    {"lead bytes before line ends", [](qsizetype n) { return repeatedTo("\x82\r\n", n); }},
};

struct Reader
{
    const char *name;
    std::function<qsizetype(const QString &)> read; // gives a count, so that the read is not dropped
};

const Reader kReaders[] = {
    {"inbox (reader)",
     [](const QString &p) { return client::readTable(p).value_or(QList<client::InboxRecord>()).size(); }},
    {"log lines (console)",
     [](const QString &p) { return perumina::ReadLines(p).value_or(QStringList()).size(); }},
    {"registry fields",
     [](const QString &p) { return perumina::ReadFields(p).value_or(QStringList()).size(); }},
};

long maxRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs the read in a child, so that each figure is a peak of its own; -1 when the child failed.
long peakKb(const Reader &reader, const QString &path, qsizetype *count)
{
    int pipe[2];
    if (::pipe(pipe) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        ::close(pipe[0]);
        const long before = maxRssKb();
        const qsizetype n = reader.read(path);
        const long figures[2] = {maxRssKb() - before, long(n)};
        const ssize_t written = ::write(pipe[1], figures, sizeof figures);
        _exit(written == sizeof figures ? 0 : 1);
    }
    ::close(pipe[1]);
    long figures[2] = {-1, -1};
    const ssize_t got = ::read(pipe[0], figures, sizeof figures);
    ::close(pipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof figures || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    *count = figures[1];
    return figures[0];
}

} // namespace

int main(int argc, char **argv)
{
    const double megabytes = argc > 1 ? QByteArray(argv[1]).toDouble() : 50;
    const auto size = static_cast<qsizetype>(megabytes * 1024 * 1024);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/file.txt");
    std::printf("%-30s %-20s %10s %12s %8s\n", "file", "reader", "records", "peak MB", "x file");
    int failures = 0;
    for (const Shape &shape : kShapes) {
        const QByteArray bytes = shape.make(size);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 2;
        file.close();
        for (const Reader &reader : kReaders) {
            qsizetype count = 0;
            const long kb = peakKb(reader, path, &count);
            failures += kb < 0;
            std::printf("%-30s %-20s %10lld %12.1f %8.1f\n", shape.name, reader.name,
                        static_cast<long long>(count), kb / 1024.0, kb * 1024.0 / bytes.size());
            std::fflush(stdout);
        }
    }
    return failures == 0 ? 0 : 1;
}
