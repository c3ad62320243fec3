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

// Registers name, in microseconds, running body(state, environment) on env, made from size.
template <typename Environment, typename Size, typename Body>
void registerOn(const SharedEnvironment<Environment>& env, Size size, const std::string& name,
                Body body) {
    benchmark::RegisterBenchmark(name.c_str(), [env, size, body](benchmark::State& state) {
        if (!*env) *env = std::make_unique<Environment>(size);
        body(state, **env);
    })->Unit(benchmark::kMicrosecond);
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
