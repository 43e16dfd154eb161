#include "platform/keys/KeyTable.h"
#include "state/Preferences.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using app::DateFormatPreset;
using app::HotKeyCombo;
namespace carbon = platform::keys::carbon;

// Thursday 5 March 2026, 14:30 in Berlin.
constexpr core::Date kThursday(1772717400.0);

QString format(DateFormatPreset preset, const QString& custom = QString()) {
    return app::formatDate(preset, kThursday, custom);
}

TEST(DateFormatPresets, FormatAFixedDateInAmericanEnglish) {
    EXPECT_EQ(format(DateFormatPreset::weekdayDayMonth), u"Thu 5 Mar");
    EXPECT_EQ(format(DateFormatPreset::dayMonth), u"5 Mar");
    EXPECT_EQ(format(DateFormatPreset::weekdayDay), u"Thu 5");
    EXPECT_EQ(format(DateFormatPreset::numeric), u"05/03");
    EXPECT_EQ(format(DateFormatPreset::weekdayDayMonthTime), u"Thu 5 Mar 2:30\u202FPM");
    EXPECT_EQ(format(DateFormatPreset::long_), u"Thursday, 5 March");
    EXPECT_EQ(format(DateFormatPreset::iso), u"2026-03-05");
    EXPECT_EQ(format(DateFormatPreset::custom, QStringLiteral("d/M HH:mm")), u"5/3 14:30");
}

TEST(DateFormatPresets, FormatAFixedDateInBritishEnglish) {
    testsupport::ScopedLocale locale("en_GB");
    EXPECT_EQ(format(DateFormatPreset::weekdayDayMonth), u"Thu 5 Mar");
    EXPECT_EQ(format(DateFormatPreset::weekdayDayMonthTime), u"Thu 5 Mar 14:30");
    EXPECT_EQ(format(DateFormatPreset::long_), u"Thursday, 5 March");
}

TEST(DateFormatPresets, CustomPatternFallsBackOnlyWhenBlankOrUnusable) {
    EXPECT_EQ(format(DateFormatPreset::custom, QString()), u"Thu 5 Mar");
    EXPECT_EQ(format(DateFormatPreset::custom, QStringLiteral("   ")), u"Thu 5 Mar");
    // Spaces around a real pattern are the user's and are kept.
    EXPECT_EQ(format(DateFormatPreset::custom, QStringLiteral(" d MMM ")), u" 5 Mar ");
    // Letters ICU does not know format as nothing, which would leave the tray without a title.
    EXPECT_EQ(format(DateFormatPreset::custom, QStringLiteral("ttt")), u"Thu 5 Mar");
}

TEST(HotKeyComboText, ShowsModifiersInAFixedOrderThenTheKey) {
    EXPECT_EQ((HotKeyCombo{8, carbon::kOption | carbon::kCommand}).displayString(), u"Ctrl+Alt+C");
    const HotKeyCombo everything{38, carbon::kControl | carbon::kShift | carbon::kOption | carbon::kCommand};
    EXPECT_EQ(everything.displayString(), u"Ctrl+Alt+Shift+Super+J");
    EXPECT_EQ((HotKeyCombo{49, carbon::kControl}).displayString(), u"Super+Space");
    // Bits we do not know are kept but not shown.
    EXPECT_EQ((HotKeyCombo{36, carbon::kCommand | 0x1}).displayString(), u"Ctrl+\u21A9");
}

TEST(HotKeyComboText, UnknownKeyCodeHasNoNameAndShowsAQuestionMark) {
    const HotKeyCombo combo{200, carbon::kShift};
    EXPECT_FALSE(combo.keyName());
    EXPECT_EQ(combo.displayString(), u"Shift+?");
}

TEST(HotKeyComboJson, KeepsTheStoredFormAndRejectsWhatDoesNotDecode) {
    const HotKeyCombo combo{45, 0x900};
    EXPECT_EQ(combo.toJson(), QByteArrayLiteral("{\"keyCode\":45,\"modifiers\":2304}"));
    EXPECT_EQ(HotKeyCombo::fromJson(combo.toJson()), combo);
    EXPECT_EQ(HotKeyCombo::fromJson(QByteArrayLiteral("{\"modifiers\":4294967295,\"keyCode\":0}")),
              (HotKeyCombo{0, 0xFFFFFFFFu}));
    for (const QByteArray& bad :
         {QByteArray(), QByteArrayLiteral("[]"), QByteArrayLiteral("{\"keyCode\":8}"),
          QByteArrayLiteral("{\"keyCode\":-1,\"modifiers\":0}"), QByteArrayLiteral("{\"keyCode\":1.5,\"modifiers\":0}"),
          QByteArrayLiteral("{\"keyCode\":4294967296,\"modifiers\":0}"),
          QByteArrayLiteral("{\"keyCode\":\"8\",\"modifiers\":0}")})
        EXPECT_FALSE(HotKeyCombo::fromJson(bad)) << bad.constData();
}

}  // namespace
