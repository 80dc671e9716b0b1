#pragma once

#include <QString>
#include <optional>

namespace perumina {

// The version every program reports: the project's version.
QString programVersion();

// Answers --help (-h) and --version (-v) before the program creates its application object, so that
// neither needs a display or opens a window. Prints to standard output and returns the exit code when
// the program should end now; nullopt when neither was asked for.
std::optional<int> answerHelpOrVersion(int argc, char **argv, const QString &program, const QString &summary);

// True when the window system the program would open its windows on needs a display server and none
// is named (no DISPLAY, no WAYLAND_DISPLAY): Qt would end such a program with an abort.
bool displayMissing(int argc, char **argv);

// What a program with windows does before it creates its application object: answers --help and
// --version, and without a display prints a Japanese message on standard error and ends with 1.
std::optional<int> answerBeforeWindow(int argc, char **argv, const QString &program, const QString &summary);

} // namespace perumina
