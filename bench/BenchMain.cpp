// Runs the benchmarks on the offscreen platform. A benchmark that reports an
// error (State::SkipWithError: its work went wrong, so its time means
// nothing) makes the run fail, named on the error stream.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Shows the runs as --benchmark_format asks and keeps the names of those
// that reported an error.
class ErrorCountingReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context& context) override { return shown_->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (run.error_occurred) failed.push_back(run.benchmark_name() + ": " + run.error_message);
        shown_->ReportRuns(runs);
    }
    void Finalize() override { shown_->Finalize(); }

    std::vector<std::string> failed;

private:
    std::unique_ptr<benchmark::BenchmarkReporter> shown_{benchmark::CreateDefaultDisplayReporter()};
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    ErrorCountingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const auto& failure : reporter.failed) std::cerr << "FAIL: " << failure << '\n';
    return reporter.failed.empty() ? 0 : 1;
}
