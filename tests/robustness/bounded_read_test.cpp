// Every reader of a shared file a pupil can fill, fed the worst shapes at its kind's limit and at 50 MB,
// each in a process of its own under a 400 MB cap: a reader over the bound fails here, not the machine.
#include "common/readershapes.h"
#include "common/testsite.h"
#include "shared/boundedread.h"
#include "shared/paths.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace perumina;

namespace {

const QString kServer = QStringLiteral("SERVER");
constexpr qint64 kPlanted = 50 * 1024 * 1024;
#ifdef PERUMINA_INSTRUMENTED_BUILD
constexpr qint64 kGoalMs = 15000; // sanitizers: only a slowdown of another order fails
#else
constexpr qint64 kGoalMs = 3000;
#endif

using testing_support::kShapes;
using testing_support::Shape;
using testing_support::shaped;

struct Reader
{
    const char *name;
    QStringList files; // the shared files it reads that are planted
};

// Paths of the current site root, so made anew for each site.
QList<Reader> readers()
{
    return {
        {"inbox", {site::inbox(kServer, QStringLiteral("受信者"))}},
        {"log", {site::messageLog(kServer)}},
        {"console-users", {site::adminRecordsFile(kServer)}},
        {"login-screen", {site::adminRecordsFile(kServer)}},
        {"registration", {site::fullNamesFile(kServer), site::userNamesFile(kServer)}},
        {"login-button", {site::credentialsFile(kServer)}},
    };
}

struct Figures
{
    bool ended = false;
    long long records = -1;
    bool problem = false;
    long peakKb = 0;
    long long ms = 0;
};

Figures runReader(const Reader &reader)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ASAN_OPTIONS", "hard_rss_limit_mb=400:quarantine_size_mb=16:detect_leaks=0");
    process.setProcessEnvironment(env);
    process.start(testing_support::testBinDir() + "/read_helper", {reader.name});
    Figures f;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return f;
    }
    const QList<QByteArray> out = process.readAllStandardOutput().trimmed().split(' ');
    f.ended = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 && out.size() == 4;
    if (f.ended) {
        f.records = out[0].toLongLong();
        f.problem = out[1] == "1";
        f.peakKb = out[2].toLong();
        f.ms = out[3].toLongLong();
    }
    return f;
}

void plant(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QFile::remove(file.fileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class BoundedReaders : public testing::Test
{
protected:
    void SetUp() override
    {
        site_.makeSite(kServer);
        QDir().mkpath(site::userFolder(kServer, QStringLiteral("受信者")));
    }
    // Runs every reader with its files planted by plantFile, and checks what each gives.
    void check(const std::string &what, const std::function<void(const QString &)> &plantFile,
               const std::function<bool(const Reader &)> &expectProblem)
    {
        for (const Reader &reader : readers()) {
            SCOPED_TRACE(what + " / " + reader.name);
            site_.makeSite(kServer);
            for (const QString &file : reader.files)
                plantFile(file);
            const Figures f = runReader(reader);
            ASSERT_TRUE(f.ended) << "over the cap, crashed or hung";
            EXPECT_LT(f.ms, kGoalMs);
            EXPECT_EQ(f.problem, expectProblem(reader)) << "records " << f.records;
            std::printf("%-22s %-14s %9lld records %7.1f MB %6lld ms%s\n", what.c_str(), reader.name,
                        f.records, f.peakKb / 1024.0, f.ms, f.problem ? "  (named)" : "");
            for (const QString &file : reader.files)
                QFile::remove(file);
        }
    }

    testing_support::TempSite site_;
};

TEST_F(BoundedReaders, worstShapesAtTheLimitAndAt50MBStayWithinTheCapAndAreNamedBeyondIt)
{
    for (const Shape &shape : kShapes) {
        // Just within each kind's limit: read whole, without a word.
        check(
            std::string(shape.name) + " at limit",
            [&](const QString &file) { plant(file, shaped(shape, readLimit(fileKindOf(file)).bytes - 4)); },
            [](const Reader &) { return false; });
        // 50 MB: registry files refused, the log and the inbox read in part; each named.
        check(
            std::string(shape.name) + " 50 MB",
            [&](const QString &file) { plant(file, shaped(shape, kPlanted)); },
            [](const Reader &) { return true; });
    }
    // Not regular files: refused without blocking, and named.
    check(
        "FIFO",
        [](const QString &file) {
            QFile::remove(file);
            ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0660), 0);
        },
        [](const Reader &) { return true; });
    check(
        "link to /dev/zero",
        [](const QString &file) {
            QFile::remove(file);
            ASSERT_TRUE(QFile::link("/dev/zero", file));
        },
        [](const Reader &) { return true; });
}

} // namespace
