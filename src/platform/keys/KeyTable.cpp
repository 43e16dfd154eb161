#include "platform/keys/KeyTable.h"

#include <array>

namespace platform::keys {
namespace {

constexpr std::uint16_t kX11Shift = 0x01;
constexpr std::uint16_t kX11Control = 0x04;

// X11 keysyms of the non-character keys.
constexpr std::uint32_t kXkBackSpace = 0xff08;
constexpr std::uint32_t kXkTab = 0xff09;
constexpr std::uint32_t kXkReturn = 0xff0d;
constexpr std::uint32_t kXkLeft = 0xff51;
constexpr std::uint32_t kXkUp = 0xff52;
constexpr std::uint32_t kXkRight = 0xff53;
constexpr std::uint32_t kXkDown = 0xff54;
constexpr std::uint32_t kXkF1 = 0xffbe;

// Letters grab their lower-case keysym: that is what the unshifted key produces.
constexpr KeyEntry letter(std::uint32_t code, const char16_t* name, char upper) {
    return {code, name, upper, static_cast<std::uint32_t>(upper - 'A' + 'a')};
}
constexpr KeyEntry ascii(std::uint32_t code, const char16_t* name, int qtKey, char keysym) {
    return {code, name, qtKey, static_cast<std::uint32_t>(keysym)};
}
constexpr KeyEntry function(std::uint32_t code, const char16_t* name, int n) {
    return {code, name, Qt::Key_F1 + n - 1, kXkF1 + static_cast<std::uint32_t>(n - 1)};
}

constexpr std::array kKeys{
    letter(0, u"A", 'A'),
    letter(11, u"B", 'B'),
    letter(8, u"C", 'C'),
    letter(2, u"D", 'D'),
    letter(14, u"E", 'E'),
    letter(3, u"F", 'F'),
    letter(5, u"G", 'G'),
    letter(4, u"H", 'H'),
    letter(34, u"I", 'I'),
    letter(38, u"J", 'J'),
    letter(40, u"K", 'K'),
    letter(37, u"L", 'L'),
    letter(46, u"M", 'M'),
    letter(45, u"N", 'N'),
    letter(31, u"O", 'O'),
    letter(35, u"P", 'P'),
    letter(12, u"Q", 'Q'),
    letter(15, u"R", 'R'),
    letter(1, u"S", 'S'),
    letter(17, u"T", 'T'),
    letter(32, u"U", 'U'),
    letter(9, u"V", 'V'),
    letter(13, u"W", 'W'),
    letter(7, u"X", 'X'),
    letter(16, u"Y", 'Y'),
    letter(6, u"Z", 'Z'),
    ascii(29, u"0", Qt::Key_0, '0'),
    ascii(18, u"1", Qt::Key_1, '1'),
    ascii(19, u"2", Qt::Key_2, '2'),
    ascii(20, u"3", Qt::Key_3, '3'),
    ascii(21, u"4", Qt::Key_4, '4'),
    ascii(23, u"5", Qt::Key_5, '5'),
    ascii(22, u"6", Qt::Key_6, '6'),
    ascii(26, u"7", Qt::Key_7, '7'),
    ascii(28, u"8", Qt::Key_8, '8'),
    ascii(25, u"9", Qt::Key_9, '9'),
    ascii(43, u",", Qt::Key_Comma, ','),
    ascii(47, u".", Qt::Key_Period, '.'),
    ascii(44, u"/", Qt::Key_Slash, '/'),
    ascii(41, u";", Qt::Key_Semicolon, ';'),
    ascii(39, u"'", Qt::Key_Apostrophe, '\''),
    ascii(33, u"[", Qt::Key_BracketLeft, '['),
    ascii(30, u"]", Qt::Key_BracketRight, ']'),
    ascii(27, u"-", Qt::Key_Minus, '-'),
    ascii(24, u"=", Qt::Key_Equal, '='),
    ascii(42, u"\\", Qt::Key_Backslash, '\\'),
    ascii(50, u"`", Qt::Key_QuoteLeft, '`'),
    ascii(49, u"Space", Qt::Key_Space, ' '),
    KeyEntry{36, u"\u21A9", Qt::Key_Return, kXkReturn},
    KeyEntry{48, u"\u21E5", Qt::Key_Tab, kXkTab},
    KeyEntry{51, u"\u232B", Qt::Key_Backspace, kXkBackSpace},
    KeyEntry{123, u"\u2190", Qt::Key_Left, kXkLeft},
    KeyEntry{124, u"\u2192", Qt::Key_Right, kXkRight},
    KeyEntry{126, u"\u2191", Qt::Key_Up, kXkUp},
    KeyEntry{125, u"\u2193", Qt::Key_Down, kXkDown},
    function(122, u"F1", 1),
    function(120, u"F2", 2),
    function(99, u"F3", 3),
    function(118, u"F4", 4),
    function(96, u"F5", 5),
    function(97, u"F6", 6),
    function(98, u"F7", 7),
    function(100, u"F8", 8),
    function(101, u"F9", 9),
    function(109, u"F10", 10),
    function(103, u"F11", 11),
    function(111, u"F12", 12),
};
static_assert(kKeys.size() == 67);

}  // namespace

std::span<const KeyEntry> allKeys() {
    return kKeys;
}

const KeyEntry* keyForKeyCode(std::uint32_t keyCode) {
    for (const KeyEntry& key : kKeys) {
        if (key.keyCode == keyCode)
            return &key;
    }
    return nullptr;
}

const KeyEntry* keyForQtKey(int qtKey) {
    // The Enter of the keypad is recorded as Return, as the stored key codes know only one.
    if (qtKey == Qt::Key_Enter)
        qtKey = Qt::Key_Return;
    for (const KeyEntry& key : kKeys) {
        if (key.qtKey == qtKey)
            return &key;
    }
    return nullptr;
}

const KeyEntry* keyForKeysym(std::uint32_t keysym) {
    for (const KeyEntry& key : kKeys) {
        if (key.keysym == keysym)
            return &key;
    }
    return nullptr;
}

Qt::KeyboardModifiers qtModifiers(std::uint32_t carbonMask) {
    Qt::KeyboardModifiers result;
    if (carbonMask & carbon::kCommand)
        result |= Qt::ControlModifier;
    if (carbonMask & carbon::kOption)
        result |= Qt::AltModifier;
    if (carbonMask & carbon::kShift)
        result |= Qt::ShiftModifier;
    if (carbonMask & carbon::kControl)
        result |= Qt::MetaModifier;
    return result;
}

std::uint32_t carbonModifiers(Qt::KeyboardModifiers modifiers) {
    std::uint32_t result = 0;
    if (modifiers & Qt::ControlModifier)
        result |= carbon::kCommand;
    if (modifiers & Qt::AltModifier)
        result |= carbon::kOption;
    if (modifiers & Qt::ShiftModifier)
        result |= carbon::kShift;
    if (modifiers & Qt::MetaModifier)
        result |= carbon::kControl;
    return result;
}

std::uint16_t x11Modifiers(std::uint32_t carbonMask, const X11ModifierLayout& layout) {
    std::uint16_t result = 0;
    if (carbonMask & carbon::kCommand)
        result |= kX11Control;
    if (carbonMask & carbon::kOption)
        result |= layout.alt;
    if (carbonMask & carbon::kShift)
        result |= kX11Shift;
    if (carbonMask & carbon::kControl)
        result |= layout.super;
    return result;
}

}  // namespace platform::keys
