#include "boards/lunch/ui/lunchboardscreen.h"
#include "boards/skeleton/ui/boardmain.h"

int main(int argc, char *argv[])
{
    const bool admin = PERUMINA_ADMIN_VARIANT;
    return boards::runBoard<boards::lunch::LunchBoardScreen, boards::lunch::Variant>(
        argc, argv, admin, admin ? QStringLiteral("LunchBoardS") : QStringLiteral("LunchBoardC"),
        QStringLiteral("給食の予定"));
}
