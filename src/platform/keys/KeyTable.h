#pragma once

#include <QString>
#include <Qt>

#include <cstdint>
#include <span>

namespace platform::keys {

// Modifier bits as the settings store them (the other platform's Carbon masks).
namespace carbon {
inline constexpr std::uint32_t kCommand = 0x100;
inline constexpr std::uint32_t kShift = 0x200;
inline constexpr std::uint32_t kOption = 0x800;
inline constexpr std::uint32_t kControl = 0x1000;
inline constexpr std::uint32_t kAllShown = kCommand | kShift | kOption | kControl;
}  // namespace carbon

// One key as stored (a virtual key code of the ANSI layout), shown (its name),
// recorded (a Qt key) and grabbed (an X11 keysym).
struct KeyEntry {
    std::uint32_t keyCode;
    const char16_t* name;
    int qtKey;
    std::uint32_t keysym;
};

// Every key a shortcut may use, in no particular order.
std::span<const KeyEntry> allKeys();
// nullptr when the stored key code names no key we know.
const KeyEntry* keyForKeyCode(std::uint32_t keyCode);
// nullptr for a Qt key that no stored key code stands for.
const KeyEntry* keyForQtKey(int qtKey);
// nullptr for an X11 keysym that no stored key code stands for.
const KeyEntry* keyForKeysym(std::uint32_t keysym);

// Command is Ctrl, Option is Alt, Control is Super (Meta) and Shift is Shift,
// the way Qt itself maps them. Bits beyond the four are dropped.
Qt::KeyboardModifiers qtModifiers(std::uint32_t carbonMask);
std::uint32_t carbonModifiers(Qt::KeyboardModifiers modifiers);

// The X11 modifier bits that Alt and Super sit on; servers almost always put
// them on Mod1 and Mod4, but the mapping is the server's to choose.
struct X11ModifierLayout {
    std::uint16_t alt = 0x08;    // Mod1Mask
    std::uint16_t super = 0x40;  // Mod4Mask
};
std::uint16_t x11Modifiers(std::uint32_t carbonMask, const X11ModifierLayout& layout = {});

}  // namespace platform::keys
