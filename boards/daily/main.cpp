#include "boards/daily/ui/dayboardscreen.h"
#include "boards/skeleton/ui/boardmain.h"

int main(int argc, char *argv[])
{
    const bool admin = PERUMINA_ADMIN_VARIANT;
    return boards::runBoard<boards::daily::DayBoardScreen, boards::daily::Variant>(
        argc, argv, admin, admin ? QStringLiteral("DayBoardS") : QStringLiteral("DayBoardC"),
        QStringLiteral("今日の予定"));
}
