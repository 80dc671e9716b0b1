#include "boards/skeleton/csv.h"
#include "common/testsite.h"

#include <gtest/gtest.h>

using boards::CsvRow;
using boards::parseCsv;
using boards::spliceCsv;
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
    // Whatever it is, writing and reading again gives the same cells, and so does a splice, but for
    // the cell spliced in.
    EXPECT_EQ(parseCsv(writeCsv(table.rows)).rows, table.rows);
    ASSERT_GT(table.rows.size(), 3);
    QList<CsvRow> expected = table.rows;
    expected[2].resize(std::max<qsizetype>(expected[2].size(), 5));
    expected[2][4] = "x,\"y";
    EXPECT_EQ(parseCsv(spliceCsv(noise, {{{3, 5}, "x,\"y"}})).rows, expected);
}

TEST(Csv, spliceChangesTheGivenCellsAndNoOtherByte)
{
    struct Case
    {
        const char *name;
        QByteArray before;
        boards::CsvCells cells;
        QByteArray after;
    } cases[] = {
        {"LF file, other rows' quoting kept",
         "h\n\"q\",d\"e\n1,a\n",
         {{{3, 2}, "x"}},
         "h\n\"q\",d\"e\n1,x\n"},
        {"fully quoted row", "\"1\",\"a\",\"\"\r\n", {{{1, 2}, "b"}, {{1, 3}, "c"}}, "\"1\",\"b\",\"c\"\r\n"},
        {"mostly quoted row, empty cell", "\"1\",,\"x\",3\r\n", {{{1, 2}, "v"}}, "\"1\",\"v\",\"x\",3\r\n"},
        {"unquoted cell stays unquoted", "\"1\",2,\"x\"\r\n", {{{1, 2}, "7"}}, "\"1\",7,\"x\"\r\n"},
        {"quotes only where needed", "1,a\r\n", {{{1, 2}, "a,\"b\"\nc"}}, "1,\"a,\"\"b\"\"\nc\"\r\n"},
        {"mixed line ends, cells past the row", "h\r\n1\n2\r", {{{3, 3}, "c"}}, "h\r\n1\n2,,c\r"},
        {"cell with line breaks elsewhere",
         "\"a\r\nb\",1\r\n2,2\r\n",
         {{{2, 1}, "x"}},
         "\"a\r\nb\",1\r\nx,2\r\n"},
        {"rows added with the file's line end", "h\n1,a\n", {{{4, 1}, "z"}}, "h\n1,a\n\nz\n"},
        {"last line had no line end", "h\r\n1,a", {{{3, 2}, "z"}}, "h\r\n1,a\r\n,z\r\n"},
        {"new row after a quoted one", "\"h\",\"i\"\n", {{{2, 1}, "z"}}, "\"h\",\"i\"\n\"z\"\n"},
        {"empty file", "", {{{1, 1}, "a"}}, "a\r\n"},
        {"row emptied between CR and LF stays a row", "a\rb\nc\n", {{{2, 1}, ""}}, "a\r\"\"\nc\n"},
        {"unclosed quote closed before a new row", "a,\"b\r\n", {{{2, 1}, "z"}}, "a,\"b\r\n\"\r\nz\r\n"},
        {"unclosed quote written over", "a,\"b", {{{1, 2}, "c"}, {{2, 1}, "z"}}, "a,\"c\"\r\nz\r\n"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(spliceCsv(c.before, c.cells), c.after) << c.name;
        // What the file held before, other than the given cells, reads the same.
        const auto before = parseCsv(c.before).rows;
        const auto after = parseCsv(c.after).rows;
        for (qsizetype r = 0; r < before.size(); ++r) {
            for (qsizetype f = 0; f < before[r].size(); ++f) {
                if (!c.cells.contains({int(r) + 1, int(f) + 1})) {
                    EXPECT_EQ(after[r].value(f), before[r][f]) << c.name;
                }
            }
        }
    }
}
