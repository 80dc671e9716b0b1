// Delivering into, and opening a reader on, an inbox that already holds 5,000 mails.
#include "client/core/mail.h"
#include "client/ui/clientapp.h"
#include "client/ui/loginscreen.h"
#include "client/ui/readerscreen.h"
#include "common/controls.h"
#include "shared/fakes.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <stdexcept>

extern int benchErrors;

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kHanako = QStringLiteral("佐藤花子");
constexpr int kMails = 5000;

client::Mail sample(int i)
{
    return {QStringLiteral("2026/04/08"),
            QStringLiteral("9:05:03"),
            QStringLiteral("taro"),
            kHanako,
            QStringLiteral("第%1号のお知らせ, \"重要\"").arg(i),
            QStringLiteral("明日の持ち物は体操服と上履きです。\r\n忘れずに持ってきて下さい。%1").arg(i)};
}

void fail(benchmark::State &state, const QString &why)
{
    ++benchErrors;
    state.SkipWithError(qPrintable(why));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write benchmark file");
}

// A site under a temporary root whose user 佐藤花子 has received 5,000 mails, as deliveries leave them.
struct Site
{
    QTemporaryDir dir;
    QByteArray inbox;
    Site()
    {
        qputenv("PERUMINA_ROOT", dir.path().toUtf8());
        QDir().mkpath(perumina::site::adminFolder(kServer));
        QDir().mkpath(perumina::site::localFolder());
        writeFile(perumina::site::fullNamesFile(kServer),
                  *perumina::encodeCp932(QStringLiteral("\"山田太郎\"\r\n\"佐藤花子\"\r\n")));
        // The login screen reads the registry when it is created.
        for (const QString &path :
             {perumina::site::credentialsFile(kServer), perumina::site::adminRecordsFile(kServer),
              perumina::site::userNamesFile(kServer)})
            writeFile(path, {});
        for (int i = 0; i < kMails; ++i)
            inbox = client::prependToInbox(*perumina::encodeCp932(client::inboxRecordText(sample(i))), inbox);
        writeFile(perumina::site::inbox(kServer, kHanako), inbox);
    }
    void resetInbox() const { writeFile(perumina::site::inbox(kServer, kHanako), inbox); }
};

void deliverInto5000MailInbox(benchmark::State &state)
{
    Site site;
    int i = kMails;
    for (auto _ : state) {
        const client::Delivery delivery = client::deliverMail(kServer, sample(i++));
        if (!delivery.done())
            fail(state, delivery.error);
        state.PauseTiming();
        site.resetInbox();
        state.ResumeTiming();
    }
    state.counters["inbox_kB"] = double(site.inbox.size()) / 1024;
}
BENCHMARK(deliverInto5000MailInbox)->Unit(benchmark::kMillisecond);

void readTableOf5000Mails(benchmark::State &state)
{
    Site site;
    if (!client::fetchInbox(kServer, kHanako))
        fail(state, QStringLiteral("no inbox"));
    for (auto _ : state) {
        const auto table = client::readTable(perumina::site::localInboxCopy());
        if (!table || table->size() != kMails + 1)
            fail(state, QStringLiteral("wrong table"));
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(readTableOf5000Mails)->Unit(benchmark::kMillisecond);

// What a login does to the reader: create the screen, which copies the inbox, reads it and shows the
// newest mail.
void openReaderOn5000MailInbox(benchmark::State &state)
{
    Site site;
    for (auto _ : state) {
        perumina::FakeSeams fakes;
        client::ClientApp app(fakes.seams());
        app.setServerName(kServer);
        app.signIn({QString(), kHanako});
        client::ReaderScreen *reader = app.readerScreen();
        if (testing_support::control<QLineEdit>(reader, "titleBox")->text().isEmpty() ||
            !fakes.dialogs.shown.isEmpty())
            fail(state, QStringLiteral("reader did not load: ") + fakes.dialogs.last());
    }
}
BENCHMARK(openReaderOn5000MailInbox)->Unit(benchmark::kMillisecond);

} // namespace
