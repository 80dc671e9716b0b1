#include "boards/skeleton/steps.h"
#include "boards/skeleton/workbook.h"

#include <gtest/gtest.h>

using boards::dayStep;
using boards::monthStep;

TEST(Steps, dayStepsKeepTheRowsOfTheYear)
{
    const QString earlier = boards::kNoEarlierYear;
    const QString later = boards::kNoLaterYear;
    struct Case
    {
        const char *before;
        int step;
        const char *row;
        QString message;
    } cases[] = {
        {"100", -10, "90", {}},     {"21", -10, "11", {}},    {"12", -10, "2", {}},
        {"11", -10, "2", earlier}, // would show the heading row
        {"10", -10, "2", earlier},  {"2", -10, "2", earlier}, {"1", -10, "2", earlier},
        {"3", -1, "2", {}},         {"2", -1, "2", earlier},  {"1", -1, "2", earlier},
        {"2", 1, "3", {}},          {"366", 1, "367", {}},    {"367", 1, "368", {}},
        {"368", 1, "366", later},   {"357", 10, "367", {}},   {"367", 10, "377", {}},
        {"368", 10, "366", later},  {"9\r", 1, "10", {}},     {" 9 ", -1, "8", {}},
        {"9\r", -10, "2", earlier},
    };
    for (const auto &c : cases) {
        const auto result = dayStep(QString::fromLatin1(c.before), c.step);
        EXPECT_EQ(result.row, QString::fromLatin1(c.row)) << c.before << " " << c.step;
        EXPECT_EQ(result.message, c.message) << c.before << " " << c.step;
    }
}

TEST(Steps, monthStepsStopAtRowTwoOnlyGoingBack)
{
    EXPECT_EQ(monthStep("3", -1).row, "2");
    EXPECT_TRUE(monthStep("3", -1).message.isEmpty());
    for (const char *row : {"2", "1", "2\r"}) {
        EXPECT_EQ(monthStep(row, -1).row, "2");
        EXPECT_EQ(monthStep(row, -1).message, boards::kNoEarlierMonth);
    }
    EXPECT_EQ(monthStep("13\r", 1).row, "14");
    EXPECT_EQ(monthStep("500", 1).row, "501");
    EXPECT_TRUE(monthStep("500", 1).message.isEmpty());
    // A huge row from a damaged index: no overflow, and no row beyond the largest sheet.
    EXPECT_EQ(monthStep("2147483647\r", 1).row, QString::number(boards::kMaxRows));
    EXPECT_EQ(monthStep(QString::number(boards::kMaxRows), 1).row, QString::number(boards::kMaxRows));
}
