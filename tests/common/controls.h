#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace testing_support {

// A screen's control, found by its object name, which is its member name: how tests and benchmarks
// reach controls that the screen keeps private. A name that is missing, or names a control of another
// kind, throws, which fails the test with the name instead of crashing it.
template <typename T> T *control(const QObject *screen, const QString &name)
{
    if (!screen)
        throw std::logic_error("no screen to find " + name.toStdString() + " on");
    T *found = screen->findChild<T *>(name);
    if (!found)
        throw std::logic_error(screen->metaObject()->className() + std::string(" has no ") +
                               T::staticMetaObject.className() + " named " + name.toStdString());
    return found;
}

} // namespace testing_support
