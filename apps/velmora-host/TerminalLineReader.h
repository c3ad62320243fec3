// Lines typed at a terminal through GNU readline: a prompt, line editing, and a history kept
// between sessions in a file.
#pragma once

#include "LineReader.h"

#include <filesystem>

namespace velmora::app {

class TerminalLineReader : public LineReader {
  public:
    // history: the file the earlier sessions' lines are read from and this one's are added to.
    explicit TerminalLineReader(std::filesystem::path history);
    ~TerminalLineReader() override;
    TerminalLineReader(const TerminalLineReader&) = delete;
    TerminalLineReader& operator=(const TerminalLineReader&) = delete;

    std::optional<std::string> next(const std::string& prompt) override;

  private:
    void saveHistory() const;

    std::filesystem::path history_;
    int added_ = 0;
};

} // namespace velmora::app
