#include "common/testsite.h"
#include "shared/boundedread.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"

#include <gtest/gtest.h>

using namespace perumina;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

// The path here of a shared file the system names by its tail.
QString share(const QString &tail)
{
    return mapPath(SharePath(QStringLiteral("SERVER"), tail));
}

} // namespace

TEST(ServerName, joinsLinesAndTrimsNothing)
{
    TempSite site;
    struct Case
    {
        QByteArray bytes;
        QString name;
    } cases[] = {
        {"SERV\r\nER01\r\n", QStringLiteral("SERVER01")},
        {"STAFF \r\n", QStringLiteral("STAFF ")},
        {"", QString()},
        {"\r\n\r\n", QString()},
        {"NOEND", QStringLiteral("NOEND")},
        // An editor's UTF-8 mark is no part of the name; white space alone names no computer.
        {"\xEF\xBB\xBFSTAFFROOM\r\n", QStringLiteral("STAFFROOM")},
        {"\xEF\xBB\xBF\xE8\x81\xB7\xE5\x93\xA1\xE5\xAE\xA4\r\n", QStringLiteral("職員室")},
        {"   \r\n \r\n", QString()},
        {"\x81\x40\t\r\n", QString()},
    };
    for (const Case &c : cases) {
        site.writeBytes(local::kLocator, c.bytes);
        const auto name = ReadServerName();
        ASSERT_TRUE(name.has_value());
        EXPECT_EQ(*name, c.name) << c.bytes.toStdString();
    }
    // The trailing space reaches every shared path.
    site.writeBytes(local::kLocator, "STAFF \r\n");
    EXPECT_EQ(SharePath(*ReadServerName(), tails::kUserNames),
              QStringLiteral("\\\\STAFF \\ぺるみな\\管理データ\\ユーザー名.txt"));
}

TEST(ServerName, missingLocatorIsAFailure)
{
    TempSite site;
    EXPECT_FALSE(ReadServerName().has_value());
}

TEST(RegistryRecords, oneRegistrationWritesExactBytesToEachFile)
{
    TempSite site;
    site.makeSite();
    ASSERT_TRUE(AppendQuotedRecords(share(tails::kFullNames), {QStringLiteral("山田太郎")}));
    ASSERT_TRUE(
        AppendQuotedRecords(share(tails::kCredentials), {QStringLiteral("taro") + QStringLiteral("pass1")}));
    ASSERT_TRUE(AppendQuotedRecords(share(tails::kAdminRecords), {QStringLiteral("taro,山田太郎,pass1")}));
    ASSERT_TRUE(AppendQuotedRecords(share(tails::kUserNames), {QStringLiteral("taro")}));

    EXPECT_EQ(site.bytes(share(tails::kFullNames)), sjis(QStringLiteral("\"山田太郎\"\r\n")));
    EXPECT_EQ(site.bytes(share(tails::kFullNames)), QByteArray("\"\x8e\x52\x93\x63\x91\xbe\x98\x59\"\r\n"));
    EXPECT_EQ(site.bytes(share(tails::kCredentials)), QByteArray("\"taropass1\"\r\n"));
    EXPECT_EQ(site.bytes(share(tails::kAdminRecords)), sjis(QStringLiteral("\"taro,山田太郎,pass1\"\r\n")));
    EXPECT_EQ(site.bytes(share(tails::kUserNames)), QByteArray("\"taro\"\r\n"));

    // As fields the administration record is one value; as lines it keeps its quotes.
    EXPECT_EQ(ReadFields(share(tails::kAdminRecords)), QStringList{QStringLiteral("taro,山田太郎,pass1")});
    EXPECT_EQ(ReadLines(share(tails::kAdminRecords)), QStringList{QStringLiteral("\"taro,山田太郎,pass1\"")});

    // Lines end at CR LF, CR or LF; a run of empty lines (a planted file of line breaks) is one line.
    site.writeBytes(share(tails::kAdminRecords), "\r\n\n\ra\r\n\r\n\r\r\nb\rc\n\n");
    EXPECT_EQ(ReadLines(share(tails::kAdminRecords)), (QStringList{"", "a", "", "b", "c", ""}));
}

TEST(RegistryRecords, appendsInListOrderAndCreatesAMissingFile)
{
    TempSite site;
    site.makeSite();
    const QString path = share(QStringLiteral("\\ぺるみな\\管理データ\\新しい.txt"));
    ASSERT_TRUE(AppendQuotedRecords(path, {QStringLiteral("a"), QString(), QStringLiteral("c")}));
    ASSERT_TRUE(AppendQuotedRecords(path, {QStringLiteral("d")}));
    EXPECT_EQ(site.bytes(path), QByteArray("\"a\"\r\n\"\"\r\n\"c\"\r\n\"d\"\r\n"));
    EXPECT_EQ(ReadFields(path),
              QStringList({QStringLiteral("a"), QString(), QStringLiteral("c"), QStringLiteral("d")}));
}

TEST(RegistryRecords, refusesUnwritableTextBeforeWritingAnything)
{
    TempSite site;
    site.makeSite();
    const QString path = share(tails::kUserNames);
    const Status status = AppendQuotedRecords(path, {QStringLiteral("ok"), QStringLiteral("𠮷")});
    EXPECT_FALSE(status.ok);
    EXPECT_FALSE(status.error.isEmpty());
    EXPECT_TRUE(site.bytes(path).isEmpty());
}

TEST(RegistryRecords, missingShareIsReportedNotCreated)
{
    TempSite site;
    const Status status = AppendQuotedRecords(share(tails::kUserNames), {QStringLiteral("taro")});
    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(status.error.contains(QStringLiteral("ユーザー名.txt")));
    EXPECT_FALSE(ReadFields(share(tails::kUserNames)).has_value());
    EXPECT_FALSE(ReadLines(share(tails::kUserNames)).has_value());
}

TEST(FieldReader, followsTheFieldRules)
{
    struct Case
    {
        const char *name;
        QString text;
        QStringList fields;
    } cases[] = {
        {"quoted with commas and spaces",
         QStringLiteral("\"a, b\",c\r\n"),
         {QStringLiteral("a, b"), QStringLiteral("c")}},
        {"leading spaces skipped",
         QStringLiteral("   x,  \"y\"\r\n"),
         {QStringLiteral("x"), QStringLiteral("y")}},
        {"unquoted trailing spaces dropped",
         QStringLiteral("adminpw  ,b\r\n"),
         {QStringLiteral("adminpw"), QStringLiteral("b")}},
        {"text after the closing quote skipped",
         QStringLiteral("\"ab\"cd,e\r\n"),
         {QStringLiteral("ab"), QStringLiteral("e")}},
        {"quote inside a value cuts it",
         QStringLiteral("\"say \"hi\"\"\r\n\"next\"\r\n"),
         {QStringLiteral("say "), QStringLiteral("next")}},
        {"line end ends a field",
         QStringLiteral("a\r\nb\nc\rd"),
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}},
        {"empty fields between commas",
         QStringLiteral("a,,b,\r\n"),
         {QStringLiteral("a"), QString(), QStringLiteral("b"), QString()}},
        {"empty lines carry no field",
         QStringLiteral("\r\n\"a\"\r\n\r\n\r\n\"b\"\r\n\r\n"),
         {QStringLiteral("a"), QStringLiteral("b")}},
        {"a line cut off by a killed writer is skipped",
         QStringLiteral("\"a\"\r\n\"cu\r\n\"b\"\r\n"),
         {QStringLiteral("a"), QStringLiteral("b")}},
        {"unterminated quote runs to the end", QStringLiteral("\"a\r\nb,c"), {QStringLiteral("a\r\nb,c")}},
        {"five fields of one line",
         QStringLiteral("adminpw,,,,\r\n"),
         {QStringLiteral("adminpw"), QString(), QString(), QString(), QString()}},
        {"nothing", QString(), {}},
        {"only spaces", QStringLiteral("   "), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseFields(c.text), c.fields) << c.name;
}

TEST(FieldReader, copesWithHugeAndBrokenFiles)
{
    TempSite site;
    site.makeSite();
    const QString path = share(tails::kUserNames);
    const qsizetype limit = perumina::readLimit(perumina::FileKind::Registry).bytes;
    QByteArray huge(limit - 3, 'x');
    huge += "\xff\x82";
    site.writeBytes(path, '"' + huge);
    const auto fields = ReadFields(path);
    ASSERT_TRUE(fields);
    ASSERT_EQ(fields->size(), 1);
    EXPECT_EQ(fields->at(0).size(), limit - 3 + 2);
    EXPECT_TRUE(fields->at(0).endsWith(QStringLiteral("\uFFFD\uFFFD")));
    // One byte more is an error that names the file, never an empty registry.
    site.writeBytes(path, "\"" + huge + "x");
    QString problem;
    EXPECT_FALSE(ReadFields(path, &problem).has_value());
    EXPECT_TRUE(problem.contains(QStringLiteral("ユーザー名.txt")) &&
                problem.contains(QStringLiteral("管理者")))
        << problem.toStdString();
}
