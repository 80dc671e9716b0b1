#include "boards/skeleton/rows.h"
#include "boards/skeleton/workbook.h"
#include "common/testsite.h"
#include "shared/site.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using boards::Workbook;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

// The day board's file of the current site.
QString bookPath()
{
    return perumina::site::dataFile(QStringLiteral("SERVER"), perumina::site::kDayEvents);
}

struct BookSite
{
    BookSite(const QByteArray &content)
    {
        site.makeSite();
        QDir().mkpath(site.local(QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ")));
        site.writeBytes(bookPath(), content);
    }
    TempSite site;
};

} // namespace

TEST(Workbook, readsCellsByRowTextAndColumn)
{
    BookSite s(sjis(QStringLiteral("日付,曜日\r\n2026/04/01,3,\"入学式\n（体育館）\"\r\n2026/04/02,4\r\n")));
    Workbook book;
    ASSERT_TRUE(book.open(bookPath()).ok);
    EXPECT_EQ(book.cell("1", 1), QStringLiteral("日付"));
    EXPECT_EQ(book.cell("2\r", 3), QStringLiteral("入学式\n（体育館）"));
    EXPECT_EQ(book.cell(" 3 ", 2), QStringLiteral("4"));
    EXPECT_EQ(book.cell("3", 3), QString());   // beyond a short row
    EXPECT_EQ(book.cell("400", 1), QString()); // beyond the last row
    EXPECT_EQ(book.cell("abc", 1), QString());
    EXPECT_EQ(book.cell("0", 1), QString());
}

TEST(Workbook, refusesAMissingFileNamingIt)
{
    TempSite site;
    site.makeSite();
    Workbook book;
    const auto status = book.open(bookPath());
    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(status.error.contains(QStringLiteral("行事予定.txt")));
    EXPECT_FALSE(book.isOpen());
}

TEST(Workbook, writtenCellsShowAtOnceAndReachTheFileOnSave)
{
    BookSite s(sjis(QStringLiteral("h\r\n2026/04/01,3\r\n")));
    Workbook book;
    ASSERT_TRUE(book.open(bookPath()).ok);
    ASSERT_TRUE(book.setCell("2\r", 3, QStringLiteral("始業式, \"全校\"\n午前授業")).ok);
    ASSERT_TRUE(book.setCell("5", 2, QStringLiteral("ソ表")).ok); // beyond the last row
    EXPECT_EQ(book.cell("2", 3), QStringLiteral("始業式, \"全校\"\n午前授業"));
    EXPECT_EQ(s.site.bytes(bookPath()), sjis(QStringLiteral("h\r\n2026/04/01,3\r\n"))); // not saved yet
    ASSERT_TRUE(book.save().ok);
    EXPECT_EQ(
        s.site.bytes(bookPath()),
        sjis(QStringLiteral("h\r\n2026/04/01,3,\"始業式, \"\"全校\"\"\n午前授業\"\r\n\r\n\r\n,ソ表\r\n")));

    Workbook again;
    ASSERT_TRUE(again.open(bookPath()).ok);
    EXPECT_EQ(again.cell("2", 3), QStringLiteral("始業式, \"全校\"\n午前授業"));
    EXPECT_EQ(again.cell("5", 2), QStringLiteral("ソ表"));
}

TEST(Workbook, savingWithoutWritesLeavesTheFileUntouched)
{
    // Not in the form this workbook would write, so a rewrite would show.
    const QByteArray content = "a;b\n\"x\",y\n";
    BookSite s(content);
    Workbook book;
    ASSERT_TRUE(book.open(bookPath()).ok);
    const auto before = QFileInfo(s.site.local(bookPath())).lastModified();
    ASSERT_TRUE(book.save().ok);
    book.quit();
    EXPECT_EQ(s.site.bytes(bookPath()), content);
    EXPECT_EQ(QFileInfo(s.site.local(bookPath())).lastModified(), before);
    EXPECT_FALSE(QFileInfo::exists(s.site.local(bookPath()) + ".lock"));
}

TEST(Workbook, twoBoardsEditingDifferentRowsBothKeepTheirEdits)
{
    BookSite s("h\r\n1,a\r\n2,b\r\n3,c\r\n");
    Workbook first;
    Workbook second;
    Workbook reader; // a classroom board: opened before, closes after
    ASSERT_TRUE(first.open(bookPath()).ok);
    ASSERT_TRUE(second.open(bookPath()).ok);
    ASSERT_TRUE(reader.open(bookPath()).ok);
    ASSERT_TRUE(first.setCell("2", 2, "first").ok);
    ASSERT_TRUE(second.setCell("4", 2, "second").ok);
    ASSERT_TRUE(first.save().ok);
    ASSERT_TRUE(second.save().ok);
    ASSERT_TRUE(reader.save().ok);
    EXPECT_EQ(s.site.bytes(bookPath()), QByteArray("h\r\n1,first\r\n2,b\r\n3,second\r\n"));
}

TEST(Workbook, mergesOtherEditsButWritesNothingOverACellOrRowChangedSinceRead)
{
    const QByteArray read = "h\r\n1,a,x\r\n2,b,y\r\n";
    struct Case
    {
        const char *meanwhile; // the file as another board or a hand edit left it; null: removed
        const char *after;     // null: refused, the file as it was meanwhile
        bool replaced;
        int conflicts;
    } cases[] = {
        {"h\r\n1,a,x\r\n2,B,y\r\n", "h\r\n1,a,new\r\n2,B,y\r\n", false, 0},   // another row
        {"h\r\n1,A,x\r\n2,b,y\r\n", "h\r\n1,A,new\r\n2,b,y\r\n", false, 0},   // another cell
        {"h\r\n1,a,new\r\n2,b,y\r\n", "h\r\n1,a,new\r\n2,b,y\r\n", false, 0}, // the same text
        {"h\r\n1,a,z\r\n2,b,y\r\n", nullptr, false, 1},                       // the same cell
        {"h\r\n0,n,n\r\n1,a,x\r\n2,b,y\r\n", nullptr, true, 0},               // a row inserted
        {"h2\r\n2027/04/01,4\r\n", nullptr, true, 0},                         // another year
        {nullptr, nullptr, true, 0},
    };
    for (const Case &c : cases) {
        BookSite s(read);
        Workbook book;
        ASSERT_TRUE(book.open(bookPath()).ok);
        ASSERT_TRUE(book.setCell("2", 3, "new").ok);
        if (c.meanwhile)
            s.site.writeBytes(bookPath(), c.meanwhile);
        else
            QFile::remove(s.site.local(bookPath()));
        const boards::SaveResult saved = book.save();
        EXPECT_EQ(saved.ok, c.after != nullptr) << (c.meanwhile ? c.meanwhile : "(removed)");
        EXPECT_EQ(saved.replaced, c.replaced) << (c.meanwhile ? c.meanwhile : "(removed)");
        ASSERT_EQ(saved.conflicts.size(), c.conflicts) << (c.meanwhile ? c.meanwhile : "(removed)");
        if (c.conflicts) {
            EXPECT_EQ(saved.conflicts[0].theirs, "z");
            EXPECT_EQ(saved.conflicts[0].ours, "new");
            EXPECT_EQ(book.cell("2", 3), QStringLiteral("new")); // kept until the board decides
        }
        if (c.meanwhile)
            EXPECT_EQ(s.site.bytes(bookPath()), QByteArray(c.after ? c.after : c.meanwhile))
                << (c.meanwhile ? c.meanwhile : "(removed)");
        else
            EXPECT_FALSE(QFileInfo::exists(s.site.local(bookPath())));
    }
}

TEST(Workbook, keepsBytesOfCellsNobodyEditedEvenWhenTheyDoNotDecode)
{
    // 0x81 0x20 is no character of code page 932; it must survive another cell's save.
    const QByteArray damaged = QByteArray("h\r\nx\x81\x20y,") + sjis(QStringLiteral("①")) + "\r\n";
    BookSite s(damaged);
    Workbook book;
    ASSERT_TRUE(book.open(bookPath()).ok);
    ASSERT_TRUE(book.setCell("1", 2, "new").ok);
    ASSERT_TRUE(book.save().ok);
    EXPECT_EQ(s.site.bytes(bookPath()),
              QByteArray("h,new\r\nx\x81\x20y,") + sjis(QStringLiteral("①")) + "\r\n");
}

TEST(Workbook, refusesTextThatCannotBeStoredAndBadRows)
{
    BookSite s("h\r\n");
    Workbook book;
    ASSERT_TRUE(book.open(bookPath()).ok);
    EXPECT_FALSE(book.setCell("2", 1, QStringLiteral("𠮷野家")).ok);
    EXPECT_FALSE(book.setCell("x", 1, "a").ok);
    EXPECT_FALSE(book.setCell("2", 0, "a").ok);
    EXPECT_FALSE(book.setCell("2000000000", 1, "a").ok);
    EXPECT_FALSE(book.setCell("2", 257, "a").ok);
    EXPECT_FALSE(book.hasWrites());
    // The look-alikes a Linux input method types are stored as the code page's own.
    ASSERT_TRUE(book.setCell("2", 1, QStringLiteral("9:00〜10:00")).ok);
    ASSERT_TRUE(book.save().ok);
    EXPECT_EQ(s.site.bytes(bookPath()), QByteArray("h\r\n") + sjis(QStringLiteral("9:00～10:00")) + "\r\n");

    // A row written whole or not at all.
    Workbook other;
    ASSERT_TRUE(other.open(bookPath()).ok);
    const auto status = other.setCells(3, {}, {{1, "a"}, {2, QStringLiteral("😀")}, {3, "c"}});
    EXPECT_FALSE(status.ok);
    EXPECT_FALSE(other.hasWrites());
}

TEST(Workbook, reportsAFailedSave)
{
    BookSite s("h\r\n");
    Workbook book;
    ASSERT_TRUE(book.open(bookPath()).ok);
    ASSERT_TRUE(book.setCell("2", 1, "a").ok);
    // The file has become a folder: nothing can replace it.
    QFile::remove(s.site.local(bookPath()));
    QDir().mkpath(s.site.local(bookPath()));
    const auto status = book.save();
    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(status.error.contains(QStringLiteral("行事予定.txt")));
    EXPECT_TRUE(book.hasWrites()); // kept for another try

    // A link planted in place of the file: only the staff-room boards write, so the staff are told
    // what to look at rather than asked to tell a teacher.
    QDir(s.site.local(bookPath())).removeRecursively();
    s.site.writeBytes(s.site.root() + QStringLiteral("/elsewhere.txt"), "h\r\n");
    ASSERT_TRUE(QFile::link(s.site.root() + QStringLiteral("/elsewhere.txt"), s.site.local(bookPath())));
    const auto linked = book.save();
    EXPECT_EQ(linked.kind, perumina::Status::Kind::NoPermission);
    EXPECT_TRUE(
        linked.error.startsWith(QStringLiteral("行事予定.txt を保存できませんでした。行事予定.txt はリンク")))
        << linked.error.toStdString();
    EXPECT_TRUE(linked.error.endsWith(
        QStringLiteral("共有フォルダ「ぺるみな」の管理データのファイルと権限を確認して下さい。")));
    EXPECT_FALSE(linked.error.contains(QStringLiteral("担任")));
}
