#include "admin/core/console.h"
#include "admin/core/messagelog.h"
#include "admin/ui/adminapp.h"
#include "admin/ui/consolescreen.h"
#include "adminsite.h"
#include "common/controls.h"
#include "shared/fakes.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

const QString kServer = QStringLiteral("SERVER");
constexpr int kUsers = 1000;
constexpr int kMails = 20000;

// A site as a busy school leaves it, written in bulk: the registry and the log in one write each.
class LargeSite
{
public:
    LargeSite()
    {
        qputenv("PERUMINA_ROOT", dir_.path().toUtf8());
        using namespace perumina;
        QString records;
        QStringList fullNames;
        for (int i = 0; i < kUsers; ++i) {
            const QString fullName = QStringLiteral("生徒%1").arg(i, 4, 10, QLatin1Char('0'));
            fullNames.append(fullName);
            records += QStringLiteral("\"user%1,%2,pw%1\"\r\n").arg(i).arg(fullName);
            QDir().mkpath(site::adminCopyFolder(kServer, fullName));
            QDir().mkpath(site::userFolder(kServer, fullName));
        }
        writeTextFile(site::adminRecordsFile(kServer), records);
        QString log;
        for (int i = 0; i < kMails; ++i)
            log += admin_fixture::logRecord(QStringLiteral("2026/04/08"), QStringLiteral("9:05:03"),
                                            QStringLiteral("user%1").arg(i % kUsers),
                                            fullNames[(i * 7) % kUsers], QStringLiteral("連絡%1").arg(i),
                                            QStringLiteral("明日の持ち物は体操服です。\r\n忘れずに。"));
        writeTextFile(site::messageLog(kServer), log);
        const QImage picture = admin_fixture::samplePicture(Qt::red, 481, 353);
        for (int i = 0; i < 20; ++i)
            admin_fixture::sendPicture(kServer, fullNames[i], QStringLiteral("絵%1").arg(i), picture);
    }

private:
    QTemporaryDir dir_;
};

LargeSite &site()
{
    static LargeSite large;
    return large;
}

// What the console reads from the share when it loads.
void BM_ConsoleRead(benchmark::State &state)
{
    site();
    for (auto _ : state) {
        const QStringList logLines = admin::readMessageLog(kServer);
        const QStringList users = admin::readUserEntries(kServer);
        const auto folders = admin::listSubfolders(perumina::site::adminFolder(kServer));
        benchmark::DoNotOptimize(logLines.size() + users.size() + folders->size());
        if (users.size() != kUsers || logLines.size() != 2 * kMails || folders->size() != kUsers)
            state.SkipWithError("the site was not read whole");
    }
}
BENCHMARK(BM_ConsoleRead)->Unit(benchmark::kMillisecond);

// The whole console: the screen created, filled and painted once, as after a login.
void BM_ConsoleLoad(benchmark::State &state)
{
    site();
    for (auto _ : state) {
        perumina::FakeSeams fakes;
        admin::AdminApp app(fakes.seams());
        app.setServerName(kServer);
        admin::ConsoleScreen *console = app.consoleScreen();
        benchmark::DoNotOptimize(console->grab());
        using testing_support::control;
        if (control<QListWidget>(console, "userList")->count() != kUsers ||
            control<QListWidget>(console, "folderList")->count() != kUsers + 1)
            state.SkipWithError("the console was not filled");
    }
}
BENCHMARK(BM_ConsoleLoad)->Unit(benchmark::kMillisecond);

// One keystroke in the console's search box: the log read once, searched for a text that a few, many
// or no records hold.
void BM_LogSearch(benchmark::State &state)
{
    site();
    const admin::MessageLog log(admin::readMessageLog(kServer));
    const QString texts[] = {QStringLiteral("連絡1999"), QStringLiteral("USER12"), QStringLiteral("体操服"),
                             QStringLiteral("見つからない")};
    const QString &text = texts[state.range(0)];
    for (auto _ : state) {
        qsizetype records = 0;
        benchmark::DoNotOptimize(log.findLines(text, &records));
        benchmark::DoNotOptimize(records);
    }
}
BENCHMARK(BM_LogSearch)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("Console load: %d registered users, a log of %d mails (goal: under 100 ms)\n", kUsers,
                kMails);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
