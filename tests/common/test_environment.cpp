#include "common/test_environment.h"

#include <QByteArray>
#include <QtGlobal>

extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}

namespace testing_support {

void prepareTestEnvironment()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    qputenv("ASAN_OPTIONS", QByteArray("detect_leaks=0"));
    qputenv("UBSAN_OPTIONS", QByteArray("print_stacktrace=1:halt_on_error=1"));
}

} // namespace testing_support
