// Where the embedded link store lives when nothing else is named: $VELMORA_STORE, else
// $HOME/.local/share/velmora/linkstore.db.
#pragma once

#include <filesystem>

namespace velmora::ado {

// The path only; callers create the parent folders before opening it.
std::filesystem::path defaultStorePath();

} // namespace velmora::ado
