#include "admin/core/console.h"
#include "admin/core/messagelog.h"
#include "adminsite.h"
#include "common/testsite.h"
#include "shared/paths.h"
#include "shared/picture.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace admin;
using perumina::SharePath;
using testing_support::sjis;
using testing_support::TempSite;

namespace {
const QString kServer = QStringLiteral("SERVER");
}

TEST(MessageLog, givesEveryPhysicalLineAsStored)
{
    TempSite site;
    site.makeSite(kServer);
    admin_fixture::sendMail(kServer, "2026/04/08", "9:05:03", "taro", "佐藤花子", "遠足",
                            "晴れ,\"です\"\r\nまたね");
    admin_fixture::sendMail(kServer, "2026/04/08", "10:00:00", "hana", "山田太郎", "返事", "はい");
    const QStringList lines = readMessageLog(kServer);
    EXPECT_EQ(lines,
              (QStringList{
                  QStringLiteral("\"2026/04/08\",\"9:05:03\",\"taro\",\"佐藤花子\",\"遠足\",\"晴れ,\"です\""),
                  QStringLiteral("またね\""),
                  QStringLiteral("\"2026/04/08\",\"10:00:00\",\"hana\",\"山田太郎\",\"返事\",\"はい\"")}));
    EXPECT_EQ(messageLogText(lines),
              perumina::decodeCp932(site.bytes(SharePath(kServer, perumina::tails::kMessageLog))));
}

TEST(MessageLog, findsRecordsByTheirOwnFieldsAndSkipsLinesOfNoRecord)
{
    const MessageLog log({
        QStringLiteral(
            "\"2026/04/08\",\"9:05:03\",\"taro\",\"佐藤花子\",\"遠足\",\"明日は"), // body on two lines
        QStringLiteral("Rain or shine\""),
        QStringLiteral("\"2026/04/08\",\"9:06:00\",\"ken\",\"山田"), // cut: the recipient breaks off
        QStringLiteral("手で書いた行"),
        QStringLiteral("\"2026/04/09\",\"10:00:00\",\"hana\",\"山田太郎\",\"Re: 遠足\",\"晴れ\""),
    });
    EXPECT_EQ(log.recordCount(), 2);
    struct Case
    {
        const char *text;
        std::vector<int> lines;
        qsizetype records;
    };
    for (const Case &k : {Case{"", {0, 1, 2, 3, 4}, 2}, Case{"遠足", {0, 1, 4}, 2}, Case{"SHINE", {0, 1}, 1},
                          Case{"ken", {}, 0}, Case{"書いた", {}, 0}, Case{"10:00", {}, 0},
                          Case{"\",\"", {}, 0}, Case{"hana", {4}, 1}}) {
        qsizetype records = -1;
        EXPECT_EQ(log.findLines(QString::fromUtf8(k.text), &records), k.lines) << k.text;
        EXPECT_EQ(records, k.records) << k.text;
    }
}

TEST(Folders, childPathAddsOneSeparatorAndTheChainLeadsDownFromTheRoot)
{
    EXPECT_EQ(childPath(QStringLiteral("/s/a"), QStringLiteral("b.jpg")), QStringLiteral("/s/a/b.jpg"));
    EXPECT_EQ(childPath(QStringLiteral("/"), QStringLiteral("b.jpg")), QStringLiteral("/b.jpg"));
    EXPECT_EQ(folderName(QStringLiteral("/s/管理用/山田太郎")), QStringLiteral("山田太郎"));
    const QString root = QStringLiteral("/s/管理用");
    EXPECT_EQ(folderChain(root, root), QStringList{root});
    EXPECT_EQ(folderChain(root, root + QStringLiteral("/山田太郎/春")),
              (QStringList{root, root + QStringLiteral("/山田太郎"), root + QStringLiteral("/山田太郎/春")}));
    // A folder beside the root, whose name only starts like it, is not below it.
    EXPECT_EQ(folderChain(root, root + QStringLiteral("2/x")), QStringList{root});
}

TEST(Folders, listSubfoldersSortedAndOnlyFolders)
{
    TempSite site;
    site.makeSite(kServer);
    admin_fixture::registerUser(kServer, "taro", "山田太郎", "pw");
    admin_fixture::registerUser(kServer, "bob", "bob", "pw");
    admin_fixture::registerUser(kServer, "al", "Alice", "pw");
    admin_fixture::sendMail(kServer, "2026/04/08", "9:05:03", "taro", "bob", "t", "b");
    const QString root = perumina::site::adminFolder(kServer);
    // A folder linked in by a pupil is not offered: it could lead anywhere.
    ASSERT_TRUE(QFile::link(site.root(), site.local(root) + QStringLiteral("/近道")));
    EXPECT_EQ(listSubfolders(root), (QStringList{"Alice", "bob", "山田太郎"}));
    EXPECT_FALSE(listSubfolders(childPath(root, QStringLiteral("nobody"))).has_value());
    EXPECT_FALSE(listPictureFiles(childPath(root, QStringLiteral("nobody"))).has_value());
}

struct PatternCase
{
    const char *name;
    bool matches;
};

TEST(Folders, pictureFilesMatchTheJpgPatternInAnyCase)
{
    const PatternCase cases[] = {
        {"a.jpg", true},   {"B.JPG", true},  {"c.Jpg.bak", true}, {"遠足.jpg", true},  {".jpg", true},
        {"d.jpeg", false}, {"e.png", false}, {"jpg", false},      {"fjpg.txt", false}, {"g.jp", false}};
    for (const PatternCase &c : cases)
        EXPECT_EQ(matchesPicturePattern(QString::fromUtf8(c.name)), c.matches) << c.name;

    TempSite site;
    site.makeSite(kServer);
    admin_fixture::registerUser(kServer, "taro", "山田太郎", "pw");
    const QString folder = perumina::site::adminCopyFolder(kServer, QStringLiteral("山田太郎"));
    for (const PatternCase &c : cases)
        if (c.name[0] != '.') // a dot file is hidden here
            site.writeBytes(childPath(folder, QString::fromUtf8(c.name)), "x");
    ASSERT_TRUE(QDir().mkpath(site.local(childPath(folder, QStringLiteral("folder.jpg")))));
    EXPECT_EQ(listPictureFiles(folder), (QStringList{"a.jpg", "B.JPG", "c.Jpg.bak", "遠足.jpg"}));
}

TEST(Pictures, loadByContentWhateverTheName)
{
    TempSite site;
    site.makeSite(kServer);
    admin_fixture::registerUser(kServer, "hana", "佐藤花子", "pw");
    const QImage sent = admin_fixture::samplePicture(Qt::red, 64, 48);
    admin_fixture::sendPicture(kServer, "佐藤花子", "赤い花", sent);
    const QString folder = perumina::site::adminCopyFolder(kServer, QStringLiteral("佐藤花子"));

    const auto shown = perumina::loadPicture(childPath(folder, QStringLiteral("赤い花.jpg")));
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->size(), sent.size());
    EXPECT_EQ(shown->pixelColor(32, 24), QColor(Qt::red));
    EXPECT_EQ(shown->pixelColor(1, 1), QColor(Qt::black));

    site.writeBytes(childPath(folder, QStringLiteral("壊れた.jpg")),
                    sjis(QStringLiteral("絵ではありません")));
    EXPECT_FALSE(perumina::loadPicture(childPath(folder, QStringLiteral("壊れた.jpg"))).has_value());
    EXPECT_FALSE(perumina::loadPicture(childPath(folder, QStringLiteral("無い.jpg"))).has_value());
}
