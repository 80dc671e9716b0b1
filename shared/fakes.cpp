#include "shared/fakes.h"

#include "shared/paths.h"

namespace perumina {

void RecordingDialogs::message(const QString &text, Icon icon, const QString &title)
{
    shown.append({text, icon, title});
}

QStringList RecordingDialogs::texts() const
{
    QStringList all;
    for (const Shown &s : shown)
        all.append(s.text);
    return all;
}

bool RecordingLauncher::start(const QString &program)
{
    const QString name = systemName(program);
    started.append(name);
    return !failing.contains(name);
}

} // namespace perumina
