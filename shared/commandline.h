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

} // namespace perumina
