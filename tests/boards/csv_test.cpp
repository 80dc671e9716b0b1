#include "boards/skeleton/csv.h"
#include "common/testsite.h"

#include <gtest/gtest.h>

using boards::CsvRow;
using boards::parseCsv;
using boards::writeCsv;
using testing_support::sjis;

namespace {

QList<CsvRow> rows(std::initializer_list<std::initializer_list<const char *>> list)
{
    QList<CsvRow> out;
    for (const auto &r : list) {
        CsvRow row;
        for (const char *f : r)
            row.append(QByteArray(f));
        out.append(row);
    }
    return out;
}

struct ParseCase
{
    const char *name;
    QByteArray input;
    QList<CsvRow> expected;
    bool unclosed = false;
};

} // namespace

TEST(Csv, parsesTheDialectOfSpreadsheets)
{
    const ParseCase cases[] = {
        {"plain", "a,b,c\r\nd,e,f\r\n", rows({{"a", "b", "c"}, {"d", "e", "f"}})},
        {"no final line end", "a,b\r\nc", rows({{"a", "b"}, {"c"}})},
        {"LF and CR record ends", "a\nb\rc\r\n", rows({{"a"}, {"b"}, {"c"}})},
        {"quoted comma", "\"a,b\",c\r\n", rows({{"a,b", "c"}})},
        {"doubled quotes", "\"say \"\"hi\"\"\",x\r\n", rows({{"say \"hi\"", "x"}})},
        {"line breaks inside a cell", "\"one\ntwo\r\nthree\",z\r\n", rows({{"one\ntwo\r\nthree", "z"}})},
        {"empty trailing fields", "a,,\r\n", rows({{"a", "", ""}})},
        {"empty quoted field", "\"\",b\r\n", rows({{"", "b"}})},
        {"empty line is a record", "a\r\n\r\nb\r\n", rows({{"a"}, {""}, {"b"}})},
        {"spaces kept", " a , b \r\n", rows({{" a ", " b "}})},
        {"quote inside text is text", "ab\"c,d\r\n", rows({{"ab\"c", "d"}})},
        {"text after a closing quote", "\"ab\"cd,e\r\n", rows({{"abcd", "e"}})},
        {"empty file", "", {}},
        {"unclosed quote runs to the end", "a,\"bc\r\nd,e", rows({{"a", "bc\r\nd,e"}}), true},
    };
    for (const ParseCase &c : cases) {
        const boards::CsvTable table = parseCsv(c.input);
        EXPECT_EQ(table.rows, c.expected) << c.name;
        EXPECT_EQ(table.unclosedQuote, c.unclosed) << c.name;
    }
}

TEST(Csv, keepsCodePage932BytesWhoseSecondByteLooksLikeADelimiterOrBackslash)
{
    // ソ and 表 end in 0x5C; 「ー」 and kana trail bytes cover the whole trail range.
    const QByteArray field = sjis(QStringLiteral("ソフト表示ー①ｶﾅ"));
    const QByteArray input = field + "," + sjis(QStringLiteral("\"給食\"")) + "\r\n";
    const auto table = parseCsv(input);
    ASSERT_EQ(table.rows.size(), 1);
    EXPECT_EQ(table.rows[0], (CsvRow{field, sjis(QStringLiteral("給食"))}));
}

TEST(Csv, writesWhatItReadsBack)
{
    const QList<CsvRow> original{
        CsvRow{"2026/04/08", "3", "", "a,b", "say \"hi\"", "one\ntwo", "cr\rlf", " spaced ", ""},
        CsvRow{""},
        CsvRow{sjis(QStringLiteral("入学式\n（体育館）")), "x"},
    };
    const QByteArray bytes = writeCsv(original);
    EXPECT_TRUE(bytes.startsWith(
        "2026/04/08,3,,\"a,b\",\"say \"\"hi\"\"\",\"one\ntwo\",\"cr\rlf\", spaced ,\r\n\r\n"));
    EXPECT_TRUE(bytes.endsWith(",x\r\n"));
    EXPECT_EQ(parseCsv(bytes).rows, original);
}

TEST(Csv, acceptsAnyBytes)
{
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise.append(char((i * 7919 + 13) % 256));
    const auto table = parseCsv(noise);
    // Whatever it is, writing and reading again gives the same cells.
    EXPECT_EQ(parseCsv(writeCsv(table.rows)).rows, table.rows);
}
