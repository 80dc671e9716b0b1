#pragma once

#include <QString>

namespace client {

// What "次へ" on the main menu does for each choice, numbered in the menu's order: send mail, read mail,
// draw, view illustrations, and the daily, lunch and monthly boards.
enum class MenuAction
{
    ComposeMail,
    OpenCanvas,
    ReadMail,
    ViewIllustrations,
    StartBoard
};

struct MenuStep
{
    MenuAction action;
    QString board; // the board program started by bare name, for StartBoard
};

// The step for the selected choice, 1 to 7.
MenuStep menuStepFor(int option);

// Shown when a board program cannot be started.
QString boardNotStartedMessage(const QString &board);

} // namespace client
