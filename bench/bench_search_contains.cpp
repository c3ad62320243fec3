// Benchmark of a Contains search of the contact search dialog over 1 thousand to 1 million
// contacts of the in-memory host, beside a plain loop doing the same comparisons on the same data.
#include "dialogs/search/SearchFilters.h"
#include "support/TestSession.h"

#include "BenchSupport.h"
#include "ContactSearch.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace velmora;

constexpr int matchesPerSize = 10;
const std::string needle = "needle";

// The same texts the host holds, as a plain program would keep them.
struct PlainContact {
    std::string entryId, firstName, lastName, fileAs, email;
};

struct Environment {
    explicit Environment(int contacts) : session(testing::SessionOptions{false, "alice", true}) {
        session.state.isChinese = false;
        const int every = contacts / matchesPerSize;
        for (int i = 0; i < contacts; ++i) {
            host::ItemPtr c = session.host.application().CreateItem(host::olContactItem);
            const std::string n = std::to_string(i);
            PlainContact p{"", (i % every == 0 ? " Needle" : " Ann") + n, "Lee" + n,
                           "Lee" + n + ", Ann", "ann" + n + "@x.example"};
            c->Set("FirstName", p.firstName);
            c->Set("LastName", p.lastName);
            c->Set("FileAs", p.fileAs);
            c->Set("Email1Address", p.email);
            c->Save();
            p.entryId = c->EntryID();
            plain.push_back(std::move(p));
        }
        dialog.emplace(session, needle, ContactSearch::nameField);
    }

    int search() { return dialog->run(); }

    // The dialog's comparisons on the plain copy: the first name, or else the last name, plus
    // the texts a result row shows.
    int plainSearch(std::vector<std::array<std::string, 5>>& rows) const {
        rows.clear();
        const std::string words = search::lowered(search::trimmed(needle));
        for (const PlainContact& c : plain) {
            if (search::fieldContains(c.firstName, words) ||
                search::fieldContains(c.lastName, words))
                rows.push_back({c.entryId, c.lastName, c.firstName, c.fileAs, c.email});
        }
        return static_cast<int>(rows.size());
    }

    testing::TestSession session;
    std::optional<ContactSearch> dialog;
    std::vector<PlainContact> plain;
};

SharedEnvironment<Environment> registerSize(int contacts) {
    return registerPair<Environment>(
        contacts, "contacts", "DialogSearchContains",
        [](benchmark::State& state, Environment& e) {
            int found = 0;
            for (auto _ : state)
                found = e.search();
            if (found != matchesPerSize) state.SkipWithError("the search missed contacts");
        },
        "PlainLoop",
        [](benchmark::State& state, Environment& e) {
            std::vector<std::array<std::string, 5>> rows;
            int found = 0;
            for (auto _ : state) {
                found = e.plainSearch(rows);
                benchmark::DoNotOptimize(rows.data());
            }
            if (found != matchesPerSize) state.SkipWithError("the loop missed contacts");
        });
}

} // namespace

// The million contacts take some 20 s to make and 2 GB of memory.
int main(int argc, char** argv) {
    std::vector<SharedEnvironment<Environment>> sizes;
    for (const int contacts : {1000, 10000, 100000, 1000000})
        sizes.push_back(registerSize(contacts));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter("DialogSearch", "dialog", "plain");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (auto& size : sizes)
        size->reset();
    benchmark::Shutdown();
    return 0;
}
