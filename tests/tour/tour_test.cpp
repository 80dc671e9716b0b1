#include "common/testsite.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

using testing_support::binDir;

namespace {

// Every picture the tour takes, in order.
const QStringList kPictures = {
    "01-welcome",
    "02-registered-users",
    "03-registration",
    "04-registration-message",
    "05-login",
    "06-menu",
    "07-mail",
    "08-mail-message",
    "09-canvas",
    "10-canvas-message",
    "11-mail-read",
    "12-pictures",
    "13-day-board-message",
    "14-day-board",
    "15-lunch-board",
    "16-month-board",
    "17-admin-login",
    "18-admin-console",
    "19-day-board-admin",
    "20-lunch-board-admin",
    "21-month-board-admin",
    "22-admin-console-search",
    "23-mail-reply",
    "24-menu-new-mail",
    "25-mail-new",
};
// The boards' pictures, each with the PDF of the page its 印刷 button prints.
const QStringList kPrinted = {"14-day-board",       "15-lunch-board",       "16-month-board",
                              "19-day-board-admin", "20-lunch-board-admin", "21-month-board-admin"};

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun runProgram(const QString &program, const QStringList &arguments, const QString &root)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PERUMINA_ROOT"), root);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(env);
    process.start(QDir(binDir()).filePath(program), arguments);
    ProgramRun run;
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("timed out");
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The boards open on today's row, so the site holds the school year (from 1 April) of today.
int schoolYearOfToday()
{
    const QDate today = QDate::currentDate();
    return today.month() >= 4 ? today.year() : today.year() - 1;
}

// A site as a school makes it (the set-up program with a server and an administrator), or the
// demonstration site, which also holds people, mails, a picture and filled boards.
enum class Content
{
    Empty,
    Demo
};
void makeSite(const QString &root, Content content = Content::Empty)
{
    QStringList arguments{QStringLiteral("--root"),           root,
                          QStringLiteral("--server"),         QStringLiteral("DEMOSERVER"),
                          QStringLiteral("--admin"),          QStringLiteral("admin"),
                          QStringLiteral("--admin-password"), QStringLiteral("admin")};
    if (content == Content::Demo)
        arguments << QStringLiteral("--demo");
    else
        arguments << QStringLiteral("--school-year") << QString::number(schoolYearOfToday());
    const ProgramRun setup = runProgram(QStringLiteral("PeruminaSetup"), arguments, root);
    ASSERT_EQ(setup.exitCode, 0) << setup.err.toStdString();
}

QStringList printedPictures(const QString &out)
{
    QStringList paths;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.endsWith(QStringLiteral(".png")))
            paths.append(line);
    }
    return paths;
}

// A screen's picture shows more than a blank window: many colours, none of them covering nearly all.
void expectScreenPicture(const QString &path)
{
    SCOPED_TRACE(path.toStdString());
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 150);
    EXPECT_GE(image.height(), 60);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            ++counts[image.pixel(x, y)];
    int most = 0;
    int total = 0;
    for (int count : counts) {
        most = std::max(most, count);
        total += count;
    }
    EXPECT_GE(counts.size(), 8);
    EXPECT_LT(most, total * 97 / 100);
}

TEST(Tour, photographsEveryScreenOfANewSite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    makeSite(root);
    const ProgramRun tour = runProgram(QStringLiteral("PeruminaTour"), {}, root);
    ASSERT_EQ(tour.exitCode, 0) << tour.err.toStdString() << tour.out.toStdString();
    QStringList expected;
    for (const QString &name : kPictures)
        expected.append(QDir(root).filePath(QStringLiteral("screenshots/") + name + QStringLiteral(".png")));
    EXPECT_EQ(printedPictures(tour.out), expected);
    for (const QString &path : expected)
        expectScreenPicture(path);
    for (const QString &name : kPrinted) {
        QFile pdf(QDir(root).filePath(QStringLiteral("screenshots/") + name + QStringLiteral(".pdf")));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_TRUE(pdf.read(5) == "%PDF-") << name.toStdString();
    }
    EXPECT_EQ(QDir(root + QStringLiteral("/screenshots")).entryList(QDir::Files).size(),
              kPictures.size() + kPrinted.size());
}

TEST(Tour, runsTwiceOnTheDemoSiteAndNamesThePartThatFails)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    makeSite(root, Content::Demo);
    const ProgramRun first = runProgram(QStringLiteral("PeruminaTour"), {}, root);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(printedPictures(first.out).size(), kPictures.size());
    // The second visit registers pupils under new names; a wrong administrator password stops the
    // administrator's part only, with the message the login showed, and the answers follow.
    const ProgramRun again = runProgram(QStringLiteral("PeruminaTour"),
                                        {QStringLiteral("--admin-password"), QStringLiteral("wrong")}, root);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("PeruminaAdmin"))) << again.err.toStdString();
    EXPECT_FALSE(again.err.contains(QStringLiteral("PeruminaClient"))) << again.err.toStdString();
    const QStringList pictures = printedPictures(again.out);
    ASSERT_FALSE(pictures.isEmpty());
    EXPECT_TRUE(pictures.contains(QDir(root).filePath(QStringLiteral("screenshots/12-pictures.png"))));
    EXPECT_TRUE(pictures.at(pictures.size() - 4).endsWith(QStringLiteral("-admin-login-message.png")));
    EXPECT_TRUE(pictures.last().endsWith(QStringLiteral("-mail-new.png")));
    // Only this visit's pictures are left in the folder, with the pages of the three classroom boards.
    EXPECT_EQ(QDir(root + QStringLiteral("/screenshots")).entryList(QDir::Files).size(), pictures.size() + 3);
    // Pupils of the first visit and of the second: two of each.
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/unc/DEMOSERVER/ぺるみな/管理データ/春野さくら2")));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/unc/DEMOSERVER/ぺるみな/管理データ/秋山たける2")));
}

TEST(Tour, refusesASiteWithoutServer)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ProgramRun tour = runProgram(QStringLiteral("PeruminaTour"), {}, dir.path());
    EXPECT_NE(tour.exitCode, 0);
    EXPECT_TRUE(tour.err.contains(QStringLiteral("PeruminaSetup"))) << tour.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/screenshots")));
}

} // namespace
