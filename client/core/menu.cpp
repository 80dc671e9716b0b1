#include "client/core/menu.h"

namespace client {

MenuStep menuStepFor(int option)
{
    switch (option) {
    case 1:
        return {MenuAction::ComposeMail, {}};
    case 3:
        return {MenuAction::OpenCanvas, {}};
    case 2:
        return {MenuAction::ReadMail, {}};
    case 4:
        return {MenuAction::ViewIllustrations, {}};
    case 5:
        return {MenuAction::StartBoard, QStringLiteral("DayBoardC.exe")};
    case 6:
        return {MenuAction::StartBoard, QStringLiteral("LunchBoardC.exe")};
    case 7:
        return {MenuAction::StartBoard, QStringLiteral("MonthBoardC.exe")};
    }
    return {MenuAction::ComposeMail, {}};
}

QString boardNotStartedMessage(const QString &board)
{
    return QStringLiteral("%1 を起動できませんでした。担任の先生に知らせて下さい。").arg(board);
}

} // namespace client
