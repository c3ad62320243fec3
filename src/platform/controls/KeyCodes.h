// Key codes and shift-state masks that key-down handlers receive.
// The values are those of the host's virtual keys, so scripts can press any key by number.
#pragma once

namespace velmora::controls {

inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeyDelete = 46;

inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

} // namespace velmora::controls
