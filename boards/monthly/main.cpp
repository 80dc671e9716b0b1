#include "boards/monthly/ui/monthboardscreen.h"
#include "boards/skeleton/ui/boardmain.h"

int main(int argc, char *argv[])
{
    const bool admin = PERUMINA_ADMIN_VARIANT;
    return boards::runBoard<boards::monthly::MonthBoardScreen, boards::monthly::Variant>(
        argc, argv, admin, admin ? QStringLiteral("MonthBoardS") : QStringLiteral("MonthBoardC"),
        QStringLiteral("月別の行事"));
}
