#include "boards/skeleton/indexsearch.h"
#include "common/testsite.h"

#include <gtest/gtest.h>

using boards::findDateRow;
using boards::findMonthRow;
using boards::indexDocument;
using boards::MarkerSearch;
using Outcome = boards::MarkerSearch::Outcome;
using testing_support::sjis;

namespace {

QString dateIndex(const QDate &from, const QDate &to, int firstRow = 2)
{
    QString text;
    int row = firstRow;
    for (QDate d = from; d <= to; d = d.addDays(1))
        text +=
            d.toString(QStringLiteral("yyyy/MM/dd")) + u',' + QString::number(row++) + QStringLiteral("\r\n");
    return text;
}

} // namespace

TEST(DateIndex, findsTheTextAfterTheCommaWithItsTrailingCr)
{
    const QString index = dateIndex(QDate(2026, 4, 1), QDate(2027, 4, 1));
    struct Case
    {
        QDate today;
        QString row;
    } cases[] = {
        {QDate(2026, 4, 1), QStringLiteral("2\r")}, // first line
        {QDate(2026, 4, 8), QStringLiteral("9\r")},
        {QDate(2026, 12, 31), QStringLiteral("276\r")},
        {QDate(2027, 3, 31), QStringLiteral("366\r")}, // last day that has a next line
    };
    for (const Case &c : cases) {
        const MarkerSearch s = findDateRow(index, c.today);
        EXPECT_TRUE(s.found()) << c.today.toString().toStdString();
        EXPECT_EQ(s.value, c.row);
    }
    const MarkerSearch first = findDateRow(index, QDate(2026, 4, 1));
    EXPECT_EQ(first.position1, 1);
    EXPECT_EQ(first.comma, 11);
    EXPECT_EQ(first.valueStart, 12);
    EXPECT_EQ(first.valueLength, 2);
    EXPECT_EQ(first.position2, 15);
}

TEST(DateIndex, tellsWhyNoRowWasFound)
{
    const QString index = dateIndex(QDate(2026, 4, 1), QDate(2026, 4, 10));
    EXPECT_EQ(findDateRow(index, QDate(2026, 3, 31)).outcome, Outcome::NoFirstMarker);
    EXPECT_EQ(findDateRow(index, QDate(2026, 4, 10)).outcome, Outcome::NoSecondMarker); // the last line
    EXPECT_EQ(findDateRow(QString(), QDate(2026, 4, 10)).outcome, Outcome::NoFirstMarker);

    QString noComma = index;
    noComma.replace(QStringLiteral("2026/04/05,6"), QStringLiteral("2026/04/05 6"));
    EXPECT_EQ(findDateRow(noComma, QDate(2026, 4, 5)).outcome, Outcome::NoComma);
    // The comma of the next line must not stand in for a missing one.
    EXPECT_EQ(findDateRow(noComma, QDate(2026, 4, 4)).outcome, Outcome::Found);

    QString gap = index;
    gap.remove(QStringLiteral("2026/04/06,7\r\n"));
    gap.replace(QStringLiteral("2026/04/07"), QStringLiteral("2026/04/06"));
    gap.insert(gap.indexOf(QStringLiteral("2026/04/06")), QStringLiteral("メモ\r\n"));
    EXPECT_EQ(findDateRow(gap, QDate(2026, 4, 5)).outcome, Outcome::NotARow);

    QString notANumber = index;
    notANumber.replace(QStringLiteral("2026/04/05,6"), QStringLiteral("2026/04/05,six"));
    EXPECT_EQ(findDateRow(notANumber, QDate(2026, 4, 5)).outcome, Outcome::NotARow);

    // What stands after the comma, each on today's line: the headings' row 1, text after the row,
    // a row past the year or past any number.
    struct Row
    {
        const char *written;
        Outcome outcome;
        const char *value = "";
    } rows[] = {
        {" 1", Outcome::HeadingRow},
        {"0", Outcome::NotARow},
        {"6,memo", Outcome::TextAfterRow, "6"},
        {"6 6", Outcome::TextAfterRow, "6"},
        {"400", Outcome::Found, "400\r"},
        {"401", Outcome::PastTheYear},
        {"99999999999", Outcome::PastTheYear},
    };
    for (const Row &r : rows) {
        QString edited = index;
        edited.replace(QStringLiteral("2026/04/05,6"),
                       QStringLiteral("2026/04/05,") + QLatin1String(r.written));
        const MarkerSearch s = findDateRow(edited, QDate(2026, 4, 5));
        EXPECT_EQ(s.outcome, r.outcome) << r.written;
        if (*r.value) {
            EXPECT_EQ(s.value, QLatin1String(r.value)) << r.written;
        }
    }

    // A day listed twice, wherever the second line stands, names both rows.
    QString twice = index + QStringLiteral("2026/04/05,30\r\n");
    const MarkerSearch dup = findDateRow(twice, QDate(2026, 4, 5));
    EXPECT_EQ(dup.outcome, Outcome::Duplicate);
    EXPECT_EQ(dup.value + u'/' + dup.otherValue, QStringLiteral("6/30"));

    // The next day's line is there, but before today's.
    QString swapped = index;
    swapped.replace(QStringLiteral("2026/04/05,6"), QStringLiteral("2026/04/0X,6"));
    swapped.replace(QStringLiteral("2026/04/04,5"), QStringLiteral("2026/04/05,6"));
    swapped.replace(QStringLiteral("2026/04/0X,6"), QStringLiteral("2026/04/04,5"));
    EXPECT_EQ(findDateRow(swapped, QDate(2026, 4, 4)).outcome, Outcome::OutOfOrder);
}

TEST(DateIndex, documentEndsEveryLineWithCrLfWhateverTheFileUses)
{
    EXPECT_EQ(indexDocument(QByteArray("2026/04/01,2\n2026/04/02,3")),
              QStringLiteral("2026/04/01,2\r\n2026/04/02,3\r\n"));
    EXPECT_EQ(indexDocument(QByteArray("2026/04/01,2\r\n2026/04/02,3\r\n")),
              QStringLiteral("2026/04/01,2\r\n2026/04/02,3\r\n"));
    EXPECT_EQ(indexDocument(sjis(QStringLiteral("日付,行\r\n"))), QStringLiteral("日付,行\r\n"));
    const QString fromLf = indexDocument(QByteArray("2026/04/01,2\n2026/04/02,3\n"));
    EXPECT_EQ(findDateRow(fromLf, QDate(2026, 4, 1)).value, QStringLiteral("2\r"));
}

TEST(MonthIndex, findsTheMonthOnEveryDayAndAcrossTheYearEnd)
{
    QString index;
    int row = 2;
    for (QDate m(2025, 4, 1); m <= QDate(2028, 4, 1); m = m.addMonths(1))
        index +=
            m.toString(QStringLiteral("yyyy/MM/")) + u',' + QString::number(row++) + QStringLiteral("\r\n");
    struct Case
    {
        QDate today;
        QString row;
    } cases[] = {
        {QDate(2025, 4, 1), QStringLiteral("2\r")}, // the index's first line
        {QDate(2025, 4, 30), QStringLiteral("2\r")},
        {QDate(2025, 12, 31), QStringLiteral("10\r")}, // next marker is January of the next year
        {QDate(2026, 1, 31), QStringLiteral("11\r")},  // 31 January: February has no 31st
        {QDate(2028, 2, 29), QStringLiteral("36\r")},
        {QDate(2028, 3, 30), QStringLiteral("37\r")},
    };
    for (const Case &c : cases) {
        const MarkerSearch s = findMonthRow(index, c.today);
        EXPECT_TRUE(s.found()) << c.today.toString().toStdString();
        EXPECT_EQ(s.value, c.row) << c.today.toString().toStdString();
    }
    EXPECT_EQ(findMonthRow(index, QDate(2028, 4, 2)).outcome, Outcome::NoSecondMarker);
    EXPECT_EQ(findMonthRow(index, QDate(2025, 3, 2)).outcome, Outcome::NoFirstMarker);
}

TEST(MonthIndex, ignoresTextBetweenMarkerAndCommaAndRefusesALineWithoutComma)
{
    const QString index = QStringLiteral("2026/04/01,2\r\n2026/05/ 5月,3\r\n2026/06/4\r\n2026/07/,5\r\n");
    EXPECT_EQ(findMonthRow(index, QDate(2026, 4, 15)).value, QStringLiteral("2\r"));
    EXPECT_EQ(findMonthRow(index, QDate(2026, 5, 31)).value, QStringLiteral("3\r"));
    EXPECT_EQ(findMonthRow(index, QDate(2026, 6, 30)).outcome, Outcome::NoComma);
}
