#include "shared/commandline.h"

#include <QByteArrayList>
#include <QtGlobal>
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

bool displayMissing(int argc, char **argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return false;
    // Qt takes the platform from -platform, else from QT_QPA_PLATFORM, else its default (xcb here);
    // a list separated by ';' is tried in order, and options follow the name after ':'.
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platforms = argv[i + 1];
    }
    if (platforms.isEmpty())
        platforms = "xcb";
    for (const QByteArray &entry : platforms.split(';')) {
        const QByteArray name = entry.split(':').first().trimmed();
        if (name.isEmpty())
            continue;
        // offscreen, minimal, eglfs, linuxfb, vnc: windows without a display server.
        if (name != "xcb" && !name.startsWith("wayland"))
            return false;
    }
    return true;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return false;
#endif
}

std::optional<int> answerBeforeWindow(int argc, char **argv, const QString &program, const QString &summary)
{
    if (const auto code = answerHelpOrVersion(argc, argv, program, summary))
        return code;
    if (!displayMissing(argc, argv))
        return std::nullopt;
    const QString text =
        QStringLiteral("%1: 画面（ディスプレイ）が見つからないため、ウィンドウを開けません。\n"
                       "デスクトップにログインしてから起動して下さい（環境変数 DISPLAY も WAYLAND_DISPLAY も"
                       "設定されていません）。\n")
            .arg(program);
    std::fputs(text.toLocal8Bit().constData(), stderr);
    return 1;
}

} // namespace perumina
