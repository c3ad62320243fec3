// Where a user's files live on a desktop: the home folder and the XDG base directories for
// settings, data and state, each honouring its environment variable when it holds an absolute path.
#pragma once

#include <filesystem>

namespace velmora::files {

// $HOME, else the user database's home folder, else the current folder.
std::filesystem::path homeFolder();

// $XDG_CONFIG_HOME, else ~/.config: settings such as the registry file.
std::filesystem::path configHome();
// $XDG_DATA_HOME, else ~/.local/share: the user's data such as the link store.
std::filesystem::path dataHome();
// $XDG_STATE_HOME, else ~/.local/state: what survives a restart but is no data, such as the log.
std::filesystem::path stateHome();

} // namespace velmora::files
