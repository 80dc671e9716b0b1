#include "client/core/illustration.h"
#include "common/testsite.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace client;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kTaro = QStringLiteral("山田太郎");

QString userFolder(const QString &name)
{
    return QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\") + name;
}
QString adminFolder(const QString &name)
{
    return QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\管理用\\") + name;
}

// A site with the user folder and the administration copy folder of each name.
void makeUsers(TempSite &site, const QStringList &names)
{
    site.makeSite(kServer);
    for (const QString &name : names) {
        QDir().mkpath(site.local(userFolder(name)));
        QDir().mkpath(site.local(adminFolder(name)));
    }
}

QImage picture(const QColor &colour)
{
    QImage image(illustration::kWidth, illustration::kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixelColor(10, 20, colour);
    return image;
}

// Every file under the site root, to see that nothing else was written.
QStringList allFiles(const TempSite &site)
{
    QStringList files;
    QDir root(site.root());
    std::function<void(const QString &)> walk = [&](const QString &path) {
        QDir dir(path);
        for (const QFileInfo &info :
             dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
            if (info.isDir())
                walk(info.filePath());
            else
                files << root.relativeFilePath(info.filePath());
        }
    };
    walk(site.root());
    files.sort();
    return files;
}

} // namespace

TEST(IllustrationPaths, namesBothCopiesByRecipientAndTitle)
{
    TempSite site;
    const auto p = illustration::paths(kServer, kTaro, QStringLiteral("春の花"));
    EXPECT_EQ(p.recipientCopy,
              site.local(QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\山田太郎\\春の花.jpg")));
    EXPECT_EQ(p.adminCopy,
              site.local(QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\管理用\\山田太郎\\春の花.jpg")));
    // A wave dash typed on this system names the same file as the code page's own tilde.
    EXPECT_EQ(illustration::paths(kServer, kTaro, QStringLiteral("朝〜夜")).recipientCopy,
              site.local(QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\山田太郎\\朝～夜.jpg")));
}

TEST(IllustrationTitle, foldsTheTitleAsItsFileIsNamedThenAsksTheSiteRule)
{
    EXPECT_EQ(illustration::titleProblem(QStringLiteral("朝〜夜")), QString());
    EXPECT_EQ(illustration::titleProblem(QString()), QStringLiteral("タイトルを入力してください"));
    EXPECT_TRUE(
        illustration::titleProblem(QStringLiteral("春　")).contains(QStringLiteral("空白やピリオド")));
}

TEST(IllustrationTitle, recipientMustBeOneFolderName)
{
    EXPECT_EQ(illustration::recipientProblem(kTaro), QString());
    EXPECT_EQ(illustration::recipientProblem(QStringLiteral("山田-A")), QString());
    EXPECT_EQ(illustration::recipientProblem(QString()), QStringLiteral("受信者が選ばれていません"));
    for (const QString &bad : {QStringLiteral(".."), QStringLiteral("..\\管理用"), QStringLiteral("a/b")})
        EXPECT_FALSE(illustration::recipientProblem(bad).isEmpty()) << bad.toStdString();
}

TEST(IllustrationStore, replacesALeftOverRecipientCopyWhenTheTitleIsFree)
{
    TempSite site;
    makeUsers(site, {kTaro});
    const QByteArray bmp = illustration::toBmp(picture(Qt::blue));
    // The longest title the rule takes: replacing a file writes a longer temporary name beside it.
    for (const QString &title : {QStringLiteral("春"), QString(81, u'絵')}) {
        const auto p = illustration::paths(kServer, kTaro, title);
        site.writeBytes(p.recipientCopy, "left over");
        const auto outcome = illustration::store(bmp, kServer, kTaro, title);
        EXPECT_EQ(outcome.result, illustration::StoreResult::Stored) << outcome.error.toStdString();
        EXPECT_EQ(site.bytes(p.recipientCopy), bmp);
        EXPECT_EQ(site.bytes(p.adminCopy), bmp);
    }
}

TEST(IllustrationStore, failureRemovesTheReservationAndSaysWhy)
{
    struct Case
    {
        const char *what;
        bool userFolder;
        bool adminFolder;
        QString says;
    };
    const Case cases[] = {
        {"recipient folder missing", false, true, QStringLiteral("山田太郎さんのフォルダが見つかりません")},
        {"share lost", false, false, QStringLiteral("管理用のフォルダが見つかりません")},
        {"administration copy folder missing", true, false,
         QStringLiteral("管理用のフォルダが見つかりません")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempSite site;
        site.makeSite(kServer);
        if (c.userFolder)
            QDir().mkpath(site.local(userFolder(kTaro)));
        if (c.adminFolder)
            QDir().mkpath(site.local(adminFolder(kTaro)));
        const QStringList before = allFiles(site);
        const auto outcome =
            illustration::store(illustration::toBmp(picture(Qt::red)), kServer, kTaro, QStringLiteral("春"));
        EXPECT_EQ(outcome.result, illustration::StoreResult::Failed);
        EXPECT_TRUE(outcome.error.startsWith(QStringLiteral("イラストを送信できませんでした。")));
        EXPECT_TRUE(outcome.error.contains(c.says)) << outcome.error.toStdString();
        EXPECT_EQ(allFiles(site), before);
        EXPECT_FALSE(illustration::titleTaken(kServer, kTaro, QStringLiteral("春")));
    }
}

TEST(IllustrationStore, aFailedSecondCopyUndoesTheFirstAndTheReservation)
{
    const QByteArray bmp = illustration::toBmp(picture(Qt::red));
    for (const bool hadRecipientCopy : {false, true}) {
        SCOPED_TRACE(hadRecipientCopy);
        TempSite site;
        makeUsers(site, {kTaro});
        const auto p = illustration::paths(kServer, kTaro, QStringLiteral("春"));
        if (hadRecipientCopy)
            site.writeBytes(p.recipientCopy, "left over");
        const QStringList before = allFiles(site);
        int writes = 0;
        const auto failOnAdminCopy = [&](const QString &path, const QByteArray &bytes) {
            ++writes;
            if (path == p.adminCopy)
                return perumina::Status::failure(QStringLiteral("共有フォルダが切断されました。"));
            return perumina::replaceFileAtomically(path, bytes);
        };
        const auto outcome = illustration::store(bmp, kServer, kTaro, QStringLiteral("春"), failOnAdminCopy);
        EXPECT_EQ(outcome.result, illustration::StoreResult::Failed);
        EXPECT_EQ(outcome.error,
                  QStringLiteral("イラストを送信できませんでした。共有フォルダが切断されました。"));
        EXPECT_GE(writes, 2);
        EXPECT_EQ(allFiles(site), before);
        if (hadRecipientCopy) {
            EXPECT_EQ(site.bytes(p.recipientCopy), QByteArray("left over"));
        }
    }
}

TEST(IllustrationStore, aFailedFirstCopyRemovesTheReservation)
{
    TempSite site;
    makeUsers(site, {kTaro});
    const QStringList before = allFiles(site);
    const auto failing = [](const QString &, const QByteArray &) {
        return perumina::Status::failure(QStringLiteral("書き込めませんでした。"));
    };
    const auto outcome = illustration::store(illustration::toBmp(picture(Qt::red)), kServer, kTaro,
                                             QStringLiteral("春"), failing);
    EXPECT_EQ(outcome.result, illustration::StoreResult::Failed);
    EXPECT_EQ(allFiles(site), before);
    EXPECT_EQ(illustration::store({}, kServer, kTaro, QStringLiteral("春")).result,
              illustration::StoreResult::Failed);
    EXPECT_EQ(allFiles(site), before);
}

TEST(IllustrationStore, refusesUnsafeNamesBeforeWritingAnything)
{
    TempSite site;
    makeUsers(site, {kTaro});
    const QStringList before = allFiles(site);
    const QByteArray bmp = illustration::toBmp(picture(Qt::red));
    for (const auto &[recipient, title] :
         {std::pair{kTaro, QStringLiteral("..\\..\\登録者一覧.txt\\x")},
          std::pair{kTaro, QStringLiteral("../x")}, std::pair{QStringLiteral(".."), QStringLiteral("春")},
          std::pair{kTaro, QStringLiteral("𠮷")}, std::pair{kTaro, QString(82, u'絵')},
          std::pair{kTaro, QString(83, u'絵')}, std::pair{kTaro, QString(84, u'絵')}}) {
        const auto outcome = illustration::store(bmp, kServer, recipient, title);
        EXPECT_EQ(outcome.result, illustration::StoreResult::Failed) << title.toStdString();
        EXPECT_FALSE(outcome.error.isEmpty());
        // The system's own English never reaches the pupil.
        EXPECT_FALSE(outcome.error.contains(QRegularExpression("[A-Za-z]{3}")))
            << outcome.error.toStdString();
    }
    EXPECT_EQ(illustration::titleProblem(QString(82, u'絵')),
              QStringLiteral("タイトルが長すぎます。全角なら81文字、半角なら244文字までにして下さい。"));
    EXPECT_EQ(allFiles(site), before);
}

TEST(IllustrationList, listsOnlyJpgFilesOfTheUserFolderIgnoringCase)
{
    TempSite site;
    makeUsers(site, {kTaro});
    for (const QString &name :
         {QStringLiteral("受信箱.txt"), QStringLiteral("春.jpg"), QStringLiteral("夏.JPG"),
          QStringLiteral("a.Jpg"), QStringLiteral("b.jpeg"), QStringLiteral("c.jpg.txt")})
        site.writeBytes(userFolder(kTaro) + u'\\' + name, "x");
    QDir().mkpath(site.local(userFolder(kTaro) + QStringLiteral("\\folder.jpg")));
    const auto names = illustration::list(kServer, kTaro);
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(*names,
              (QStringList{QStringLiteral("a.Jpg"), QStringLiteral("夏.JPG"), QStringLiteral("春.jpg")}));
    EXPECT_EQ(perumina::site::userFile(kServer, kTaro, QStringLiteral("春.jpg")),
              site.local(QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\山田太郎\\春.jpg")));
}

TEST(IllustrationList, nothingForAMissingFolderServerOrUnsafeName)
{
    TempSite site;
    makeUsers(site, {kTaro});
    EXPECT_FALSE(illustration::list(kServer, QStringLiteral("佐藤花子")).has_value());
    EXPECT_FALSE(illustration::list(QStringLiteral("GONE"), kTaro).has_value());
    EXPECT_FALSE(illustration::list(kServer, QString()).has_value());
    EXPECT_FALSE(illustration::list(kServer, QStringLiteral("..")).has_value());
}
