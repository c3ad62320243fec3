// The console reporter of the benchmarks that set the system's code beside a baseline: after the
// usual table it prints, per size, both times and their ratio, for wall-clock and CPU time.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Runs are named "<name>/<size>"; those whose name starts with subjectPrefix are the system's,
// all others the baseline's.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter(std::string subjectPrefix, std::string subjectLabel, std::string baselineLabel)
        : prefix_(std::move(subjectPrefix)), subjectLabel_(std::move(subjectLabel)),
          baselineLabel_(std::move(baselineLabel)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const std::string size = name.substr(name.find('/') + 1);
            (name.rfind(prefix_, 0) == 0 ? subject_ : baseline_)[size] = {run.GetAdjustedRealTime(),
                                                                          run.GetAdjustedCPUTime()};
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [size, mine] : subject_) {
            const auto found = baseline_.find(size);
            if (found == baseline_.end() || found->second.real <= 0 || found->second.cpu <= 0)
                continue;
            const Times& base = found->second;
            std::printf("%-18s real: %s %9.1f us, %s %9.1f us, ratio %.2f | cpu: %s %9.1f us, "
                        "%s %9.1f us, ratio %.2f\n",
                        size.c_str(), subjectLabel_.c_str(), mine.real, baselineLabel_.c_str(),
                        base.real, mine.real / base.real, subjectLabel_.c_str(), mine.cpu,
                        baselineLabel_.c_str(), base.cpu, mine.cpu / base.cpu);
        }
    }

  private:
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::string prefix_, subjectLabel_, baselineLabel_;
    std::map<std::string, Times> subject_;
    std::map<std::string, Times> baseline_;
};
