// What the benchmark programs share besides their reporter: environments built on first use
// (a filled store takes long, and a filtered run may need none) and the programs' own flags.
#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// One environment per size, made by the first benchmark that runs on it; main resets it once
// the runs are over, which removes its temporary store.
template <typename Environment>
using SharedEnvironment = std::shared_ptr<std::unique_ptr<Environment>>;

// Registers the system's benchmark and the baseline's, named "<name>/<label>:<size>" and timed in
// microseconds, on one environment made from size by the first of them that runs; each body runs
// as body(state, environment).
template <typename Environment, typename Size, typename Subject, typename Baseline>
SharedEnvironment<Environment> registerPair(Size size, const std::string& label,
                                            const std::string& subjectName, Subject subject,
                                            const std::string& baselineName, Baseline baseline) {
    auto env = std::make_shared<std::unique_ptr<Environment>>();
    auto ready = [env, size]() -> Environment& {
        if (!*env) *env = std::make_unique<Environment>(size);
        return **env;
    };
    const std::string suffix = "/" + label + ":" + std::to_string(size);
    const auto onReady = [ready](auto body) {
        return [ready, body](benchmark::State& state) { body(state, ready()); };
    };
    benchmark::RegisterBenchmark((subjectName + suffix).c_str(), onReady(subject))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((baselineName + suffix).c_str(), onReady(baseline))
        ->Unit(benchmark::kMicrosecond);
    return env;
}

// The arguments without flag, which google-benchmark would refuse; found tells whether it was
// given.
inline std::vector<char*> withoutFlag(int argc, char** argv, const char* flag, bool& found) {
    std::vector<char*> rest;
    found = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0)
            found = true;
        else
            rest.push_back(argv[i]);
    }
    return rest;
}
