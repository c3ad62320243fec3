// The image indexes that picker rows and column headers carry, shared by every dialog.
// -1 is passed by callers that want a row without an icon.
#pragma once

namespace velmora {

inline constexpr int noRowIcon = -1;
inline constexpr int headerIcon = 1;
inline constexpr int contactIcon = 2;
inline constexpr int eventIcon = 3;
inline constexpr int groupIcon = 5;

} // namespace velmora
