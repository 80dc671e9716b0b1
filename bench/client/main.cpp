// Starts Qt without a display, then runs the client's benchmarks.
#include <QApplication>
#include <benchmark/benchmark.h>

// Counted by the benchmarks when they stop with an error, so that the run fails instead of passing.
int benchErrors = 0;

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return benchErrors == 0 ? 0 : 1;
}
