#include "common/testsite.h"
#include "shared/textfile.h"

#include <gtest/gtest.h>

using namespace perumina;
using testing_support::TempSite;

TEST(Cp932, foldsLinuxLookAlikesOntoTheCodePage)
{
    // 〜 typed on Linux is the code page's ～ (0x8160); the minus sign is －.
    EXPECT_EQ(encodeCp932(QStringLiteral("〜")), QByteArray("\x81\x60"));
    EXPECT_EQ(encodeCp932(QStringLiteral("−")), QByteArray("\x81\x7c"));
    EXPECT_EQ(encodeCp932(QStringLiteral("—")), QByteArray("\x81\x5c"));
    EXPECT_EQ(decodeCp932(QByteArray("\x81\x60")), QStringLiteral("～"));
}

TEST(Cp932, refusesCharactersOutsideTheCodePage)
{
    EXPECT_FALSE(canEncodeCp932(QStringLiteral("𠮷野家")));
    EXPECT_FALSE(canEncodeCp932(QStringLiteral("😀")));
    EXPECT_TRUE(canEncodeCp932(QStringLiteral("山田太郎①ｱ")));
}

TEST(Cp932, keepsBackslashSecondBytesAndYenFree)
{
    // ソ and 表 end in 0x5C; a backslash stays a backslash.
    const QString text = QStringLiteral("ソ表\\");
    const auto bytes = encodeCp932(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, QByteArray("\x83\x5c\x95\x5c\x5c"));
    EXPECT_EQ(decodeCp932(*bytes), text);
}

TEST(Cp932, decodesAnyBytesWithoutFailing)
{
    EXPECT_EQ(decodeCp932(QByteArray("A\xff"
                                     "B")),
              QStringLiteral("A\uFFFDB"));
    EXPECT_EQ(decodeCp932(QByteArray("A\x82")), QStringLiteral("A\uFFFD")); // cut after a lead byte
    EXPECT_EQ(decodeCp932(QByteArray("\x82\xa0")), QStringLiteral("あ"));
    EXPECT_EQ(decodeCp932(QByteArray()), QString());
}

TEST(Lines, splitAtEveryKindOfLineEnd)
{
    struct Case
    {
        QString text;
        QStringList lines;
    } cases[] = {
        {QStringLiteral("a\r\nb\r\n"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\rb\nc"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {QStringLiteral("\r\n\r\n"), {QString(), QString()}},
        {QStringLiteral("a\n\r b"), {QStringLiteral("a"), QString(), QStringLiteral(" b")}},
        {QString(), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(splitLines(c.text), c.lines) << c.text.toStdString();
}

TEST(TextFiles, writeAndAppendCodePageBytesAndReadThemBack)
{
    TempSite site;
    const QString path = site.local(QStringLiteral("c:\\group\\memo.txt"));
    site.writeBytes(path, {});
    ASSERT_TRUE(writeTextFile(path, QStringLiteral("予定〜\r\n")));
    ASSERT_TRUE(appendTextFile(path, QStringLiteral("表\r\n")));
    EXPECT_EQ(site.bytes(path), QByteArray("\x97\x5c\x92\xe8\x81\x60\r\n\x95\x5c\r\n"));
    EXPECT_EQ(readTextLines(path), QStringList({QStringLiteral("予定～"), QStringLiteral("表")}));
    // Unwritable text is refused and leaves the file as it was.
    EXPECT_FALSE(appendTextFile(path, QStringLiteral("𠮷\r\n")));
    EXPECT_FALSE(writeTextFile(path, QStringLiteral("𠮷\r\n")));
    EXPECT_EQ(site.bytes(path).size(), 12);
    EXPECT_FALSE(readTextFile(site.local(QStringLiteral("c:\\group\\none.txt"))));
}
