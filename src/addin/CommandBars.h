// The add-in's controls in the host's command bars: the "Velmora" menu popup, the two explorer
// toolbar buttons and the inspector "Attach" toggle, found again by tag and rebuilt each start.
#pragma once

#include "addin/AddinState.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velmora {

inline constexpr const char* tagMenuBar = "VelmoraMenuBar";
inline constexpr const char* tagShareAndAttach = "VelmoraShareAndAttach";
inline constexpr const char* tagSyncVelmora = "VelmoraSyncVelmora";
inline constexpr const char* tagAbout = "VelmoraAbout";
inline constexpr const char* tagAttach = "VelmoraAttach";
inline constexpr int idFindButton = 5593;
inline constexpr int idInsertFile = 1074;

struct MenuButtons {
    host::ControlPtr shareAndAttach, syncVelmora, about;
};

// The picture file of one of the add-in's button faces (resources 102, 103, 104), from the first
// folder holding it: $VELMORA_DATA_DIR/faces, the data folder installed beside the program
// (PREFIX/bin/../share/velmora/faces), the source tree. When none does, its path in the first of
// them.
std::string faceImage(int resourceId, const std::filesystem::path& programFolder);
// The same for the running program.
std::string faceImage(int resourceId);

// Rebuilds the popup's three entries; empty when the popup is missing or could not be rebuilt
// (the failure is reported as "labelAddVelmoraMenuBar: ").
std::optional<MenuButtons> buildMenuPopup(AddinState& state);
bool emptyPopup(host::CommandBar& menuBar);
void createPopup(AddinState& state);

// The position just after control 5593 among the visible controls of the explorer "Standard"
// toolbar, or just after the last visible control when 5593 is absent.
int toolbarPosition(AddinState& state);
void addShareAndAttachToolbarButton(AddinState& state, int position);
void addSyncToolbarButton(AddinState& state, int position);
void showShareAndAttachControls(AddinState& state, bool visible);

// One past the index of control 1074 on the inspector's "Standard" toolbar; empty without it,
// and empty after the "am3>" message when the toolbar cannot be read.
std::optional<int> getMailAttachPositioin(const AddinState& state, host::Inspector& inspector);
// Replaces stale "Attach" buttons by a fresh one (up), or returns the one that would not go.
host::ControlPtr addInspectorAttachButton(AddinState& state, host::Inspector& inspector);
void removeInspectorAttachButton(host::Inspector& inspector);

} // namespace velmora
