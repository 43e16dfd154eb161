#include "platform/keys/KeyTable.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace platform::keys;

TEST(KeyTable, EveryStoredKeyHasOneNameOneQtKeyAndOneKeysym) {
    std::set<std::uint32_t> codes;
    std::set<int> qtKeys;
    std::set<std::uint32_t> keysyms;
    for (const KeyEntry& key : allKeys()) {
        EXPECT_TRUE(codes.insert(key.keyCode).second) << key.keyCode;
        EXPECT_TRUE(qtKeys.insert(key.qtKey).second) << key.keyCode;
        EXPECT_TRUE(keysyms.insert(key.keysym).second) << key.keyCode;
        EXPECT_EQ(keyForQtKey(key.qtKey), &key);
        EXPECT_EQ(keyForKeyCode(key.keyCode), &key);
    }
    EXPECT_EQ(codes.size(), 67u);
}

TEST(KeyTable, SpotChecksAgainstTheStoredLayout) {
    ASSERT_TRUE(keyForKeyCode(8));
    EXPECT_EQ(QString::fromUtf16(keyForKeyCode(8)->name), u"C");
    EXPECT_EQ(keyForKeyCode(8)->keysym, 0x63u);  // grabbed as the unshifted 'c'
    EXPECT_EQ(keyForKeyCode(122)->qtKey, Qt::Key_F1);
    EXPECT_EQ(keyForKeyCode(111)->keysym, 0xffc9u);  // F12
    EXPECT_EQ(keyForKeyCode(50)->keysym, 0x60u);     // grave
    EXPECT_EQ(keyForQtKey(Qt::Key_Enter), keyForKeyCode(36));
    EXPECT_FALSE(keyForKeyCode(200));
    EXPECT_FALSE(keyForQtKey(Qt::Key_Escape));
}

TEST(KeyTable, ModifiersMapCommandToCtrlAndControlToSuper) {
    EXPECT_EQ(qtModifiers(carbon::kCommand | carbon::kOption), Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(qtModifiers(carbon::kControl | carbon::kShift | 0x1), Qt::MetaModifier | Qt::ShiftModifier);
    EXPECT_EQ(carbonModifiers(Qt::ControlModifier | Qt::MetaModifier | Qt::KeypadModifier),
              carbon::kCommand | carbon::kControl);
    for (std::uint32_t mask = 0; mask <= carbon::kAllShown; mask += 0x100)
        EXPECT_EQ(carbonModifiers(qtModifiers(mask)), mask & carbon::kAllShown) << mask;

    EXPECT_EQ(x11Modifiers(carbon::kCommand | carbon::kOption), 0x04 | 0x08);
    EXPECT_EQ(x11Modifiers(carbon::kShift | carbon::kControl), 0x01 | 0x40);
    EXPECT_EQ(x11Modifiers(carbon::kOption | carbon::kControl, X11ModifierLayout{0x20, 0x80}), 0x20 | 0x80);
}

}  // namespace
