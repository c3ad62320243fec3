// The scripted host's command table: each verb with its usage line and its handler.
// Command groups register their verbs here; the runner looks them up by the first word.
#pragma once

// UsageError: a line the host cannot run as written (an unknown verb, missing words, a name).
#include "UsageError.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::app {

// An expectation that does not hold: exit code 1.
class ExpectationFailed : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Splits a line into words; "double quoted" words may hold blanks, and key="a b" stays one word.
// Inside quotes, \" stands for a double quote and \\ for a backslash.
std::vector<std::string> splitWords(const std::string& line);

// A command line split into words, with the line as typed for commands that take raw text
// (filters and statements, whose quotes must reach the host or the store unchanged).
struct Words {
    std::vector<std::string> list;
    std::string line;

    std::size_t size() const { return list.size(); }
    bool empty() const { return list.empty(); }
    const std::string& operator[](std::size_t i) const { return list[i]; }

    // The line as typed after its first n words.
    std::string rest(std::size_t n) const {
        std::size_t pos = 0;
        for (std::size_t word = 0; word < n; ++word) {
            pos = line.find_first_not_of(" \t", pos);
            bool quoted = false;
            for (; pos < line.size() && (quoted || (line[pos] != ' ' && line[pos] != '\t')); ++pos)
                if (line[pos] == '"') quoted = !quoted;
        }
        pos = line.find_first_not_of(" \t", pos);
        return pos == std::string::npos ? "" : line.substr(pos);
    }
};

struct Command {
    std::string usage;
    std::size_t minWords = 1;
    std::function<void(const Words&)> run;
};

class CommandTable {
  public:
    void add(const std::string& verb, std::string usage, std::size_t minWords,
             std::function<void(const Words&)> run) {
        commands_[verb] = Command{std::move(usage), minWords, std::move(run)};
    }

    void execute(const Words& words) const {
        if (words.empty()) return;
        const auto found = commands_.find(words[0]);
        if (found == commands_.end())
            throw UsageError("Unknown command \"" + words[0] + "\" (try \"help\")");
        if (words.size() < found->second.minWords)
            throw UsageError("usage: " + found->second.usage);
        found->second.run(words);
    }

    const std::map<std::string, Command>& commands() const { return commands_; }

  private:
    std::map<std::string, Command> commands_;
};

struct ScriptContext;

// A group of commands over the session: it adds its verbs to the table and works on ctx_.
class CommandGroup {
  public:
    explicit CommandGroup(ScriptContext& context) : ctx_(context) {}
    virtual ~CommandGroup() = default;
    virtual void install(CommandTable& table) = 0;

  protected:
    ScriptContext& ctx_;
};

// One row of a group's table: the verb, its usage line, the fewest words, the member that runs it.
template <typename Group> struct Verb {
    const char* verb;
    const char* usage;
    std::size_t minWords;
    void (Group::*run)(const Words&);
};

template <typename Group>
void addVerbs(CommandTable& table, Group& group, std::initializer_list<Verb<Group>> verbs) {
    for (const Verb<Group>& v : verbs)
        table.add(v.verb, v.usage, v.minWords, [&group, run = v.run](const Words& words) {
            // A group that acts for the user says so around each of its commands.
            if constexpr (requires { group.asUser([] {}); })
                group.asUser([&] { (group.*run)(words); });
            else
                (group.*run)(words);
        });
}

// The words from `from` on, joined by single blanks.
inline std::string joinFrom(const Words& words, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < words.size(); ++i)
        text += (i > from ? " " : "") + words[i];
    return text;
}

} // namespace velmora::app
