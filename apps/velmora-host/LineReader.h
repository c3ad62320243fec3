// Where the scripted host's lines come from: a stream (a script file, a pipe, the demo's text)
// or a terminal (TerminalLineReader), read one line at a time.
#pragma once

#include <istream>
#include <optional>
#include <string>

namespace velmora::app {

class LineReader {
  public:
    virtual ~LineReader() = default;
    // The next line without its end of line; nothing when the input has ended. prompt is what a
    // terminal shows before reading; a stream has no one to show it to.
    virtual std::optional<std::string> next(const std::string& prompt) = 0;
};

class StreamLineReader : public LineReader {
  public:
    explicit StreamLineReader(std::istream& in) : in_(in) {}

    std::optional<std::string> next(const std::string&) override {
        std::string line;
        if (!std::getline(in_, line)) return std::nullopt;
        return line;
    }

  private:
    std::istream& in_;
};

} // namespace velmora::app
