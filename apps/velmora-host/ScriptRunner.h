// The scripted host: one command per line operating the in-memory mail host, the link store and
// the registry, printing what a user would see. docs/velmora-host.md lists the commands.
#pragma once

#include "addin/AddinState.h"
#include "platform/cdo/HostMapiSession.h"
#include "platform/host/InMemoryHost.h"
#include "platform/registry/FileRegistry.h"
#include "platform/windows/FakeWindowSystem.h"
#include "platform/windows/RecordingMessageBox.h"

#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace velmora::app {

class ScriptRunner {
  public:
    explicit ScriptRunner(std::ostream& out);

    // Runs every line; a failing command prints its error and, unless keepGoing, stops the run.
    // Returns the process exit code: 0 when every command succeeded.
    int run(std::istream& in, bool keepGoing);

  private:
    void execute(const std::vector<std::string>& words);
    void flushMessages();
    host::ItemPtr named(const std::string& name) const;
    host::FolderPtr folderByPath(const std::string& path);
    void applyProperties(host::Item& item, const std::vector<std::string>& words, std::size_t from);
    void printItem(const host::Item& item);
    void printQuery(const std::string& sql);
    void ensureStore();

    std::ostream& out_;
    host::InMemoryHost host_;
    registry::FileRegistry registry_;
    windows::RecordingMessageBox messages_;
    windows::FakeWindowSystem windows_;
    cdo::HostMapiSession mapi_;
    AddinState state_;
    std::map<std::string, host::ItemPtr> items_;
    std::size_t shownMessages_ = 0;
};

// Splits a line into words; "double quoted" words may hold blanks, and key="a b" stays one word.
std::vector<std::string> splitWords(const std::string& line);

} // namespace velmora::app
