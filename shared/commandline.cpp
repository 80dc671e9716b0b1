#include "shared/commandline.h"

#include <cstdio>
#include <cstring>

namespace perumina {

QString programVersion()
{
    return QStringLiteral(PERUMINA_VERSION);
}

std::optional<int> answerHelpOrVersion(int argc, char **argv, const QString &program, const QString &summary)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        QString text;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            text = QStringLiteral("使い方: %1 [--help] [--version]\n%2\n"
                                  "サイトのルートは環境変数 PERUMINA_ROOT（未設定なら ~/.perumina）です。\n")
                       .arg(program, summary);
        } else if (std::strcmp(arg, "--version") == 0 || std::strcmp(arg, "-v") == 0) {
            text = program + QLatin1Char(' ') + programVersion() + QLatin1Char('\n');
        } else {
            continue;
        }
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return std::nullopt;
}

} // namespace perumina
