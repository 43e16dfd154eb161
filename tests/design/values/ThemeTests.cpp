#include "design/values/AvatarPalette.h"
#include "design/values/Theme.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using core::Color;
using design::Appearance;
using design::colorFromHex;
using design::Theme;

constexpr Appearance kLight{false, false};
constexpr Appearance kDark{true, false};
constexpr Appearance kLightContrast{false, true};
constexpr Appearance kDarkContrast{true, true};

TEST(HexColors, AcceptHashSpacesAndAlpha) {
    const Color ink = Color::rgb(0x1C, 0x1F, 0x24);
    EXPECT_EQ(colorFromHex(u"#1C1F24"), ink);
    EXPECT_EQ(colorFromHex(u"1C1F24"), ink);
    EXPECT_EQ(colorFromHex(u" \t#1c1f24  "), ink);
    EXPECT_EQ(colorFromHex(u"#F6F7F81A"), Color::rgb(0xF6, 0xF7, 0xF8, 26));
}

TEST(HexColors, ScanWhatTheyCanAndNeverFail) {
    EXPECT_EQ(colorFromHex(u"FFF"), Color::rgb(0, 15, 255));  // not expanded as shorthand
    EXPECT_EQ(colorFromHex(u"zzzzzzzz"), Color::rgb(0, 0, 0, 0));
    EXPECT_EQ(colorFromHex(u"zz"), Color::rgb(0, 0, 0, 255));
    EXPECT_EQ(colorFromHex(u"##1C1F24"), Color::rgb(0, 0, 0, 255));
    EXPECT_EQ(colorFromHex(u""), Color::rgb(0, 0, 0, 255));
    // Scanning stops at the first non-hex character, but the length still counts all.
    EXPECT_EQ(colorFromHex(u"12345g78"), Color::rgb(0, 0x01, 0x23, 0x45));
    // Line breaks are no trimmed space: they count towards the length.
    EXPECT_EQ(colorFromHex(u"1C1F24\n\n"), Color::rgb(0, 0x1C, 0x1F, 0x24));
    // Too many digits saturate instead of wrapping round.
    EXPECT_EQ(colorFromHex(u"123456789ABCDEF012"), Color::rgb(255, 255, 255, 255));
}

TEST(ThemeTokens, PlainTokensAreTheSameInEveryAppearance) {
    EXPECT_EQ(Theme::sky(), Color::rgb(0x3E, 0x8E, 0xD0));
    EXPECT_EQ(Theme::onAccent(), Color::rgb(255, 255, 255));
    const auto& palette = Theme::calendarPalette();
    EXPECT_EQ(palette[0], Theme::flame());
    EXPECT_EQ(palette[3], Theme::sky());
    EXPECT_EQ(palette[4], Theme::green());
}

TEST(ThemeTokens, DynamicTokensPickTheirVariant) {
    // Increased contrast does not change a token that names no contrast variant.
    for (Appearance appearance : {kLight, kLightContrast}) {
        EXPECT_EQ(Theme::text().resolve(appearance), colorFromHex(u"#1C1F24"));
    }
    for (Appearance appearance : {kDark, kDarkContrast}) {
        EXPECT_EQ(Theme::text().resolve(appearance), colorFromHex(u"#F6F7F8"));
    }
    EXPECT_EQ(Theme::primary().resolve(kLight), colorFromHex(u"#C53D0A"));
    EXPECT_EQ(Theme::primary().resolve(kDark), colorFromHex(u"#C53D0A"));
    EXPECT_EQ(Theme::primary().resolve(kLightContrast), colorFromHex(u"#A52E06"));
    EXPECT_EQ(Theme::primary().resolve(kDarkContrast), colorFromHex(u"#A52E06"));
    EXPECT_EQ(Theme::text2().resolve(kDarkContrast), colorFromHex(u"#D5D9DE"));
    EXPECT_EQ(Theme::line().resolve(kLightContrast), colorFromHex(u"#1C1F24"));
    EXPECT_EQ(Theme::textPast().resolve(kLight).alpha, 0x99);
}

TEST(ThemeTokens, ChosenAlphasStayBetweenTheirNeighbours) {
    // Faint text stays fainter than past text, and contrast never weakens a colour.
    for (Appearance appearance : {kLight, kDark, kLightContrast, kDarkContrast}) {
        EXPECT_LT(Theme::textFaint().resolve(appearance).alpha, Theme::textPast().resolve(appearance).alpha);
    }
    for (const design::DynamicColor* token :
         {&Theme::textPast(), &Theme::textFaint(), &Theme::year(), &Theme::line(), &Theme::strokeStrong()}) {
        EXPECT_GE(token->lightHighContrast().alpha, token->light().alpha);
        EXPECT_GE(token->darkHighContrast().alpha, token->dark().alpha);
    }
}

TEST(ThemeTokens, ResolveAgainstTheAppearanceInEffect) {
    Theme::setAppearance(kDarkContrast);
    EXPECT_EQ(Theme::text3().resolve(), colorFromHex(u"#C4C9CF"));
    Theme::setAppearance(kLight);
    EXPECT_EQ(Theme::text3().resolve(), colorFromHex(u"#6E747C"));
}

TEST(ThemeTokens, AreBuiltOnceEvenWhenFirstReadFromManyThreads) {
    std::vector<std::thread> threads;
    std::vector<const design::DynamicColor*> seen(8);
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = &Theme::leafSoft(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const auto* token : seen) {
        EXPECT_EQ(token, &Theme::leafSoft());
    }
}

// Worked by hand: hash = (hash × 31 + scalar) mod 65536 over the code points,
// then the palette entry at hash mod 5 (flame, amber, teal, sky, green).
TEST(AvatarColours, FollowTheNameCodePointByCodePoint) {
    using design::AvatarPalette;
    EXPECT_EQ(AvatarPalette::color(u""), Theme::flame());
    EXPECT_EQ(AvatarPalette::index(u"Ana"), 1);  // 65 → 2125 → 65972 mod 65536 = 436
    EXPECT_EQ(AvatarPalette::color(u"Ana"), Theme::amber());
    // U+1F600 is one scalar (128512 → 62976), not two UTF-16 units (which would give 2).
    EXPECT_EQ(AvatarPalette::index(u"\U0001F600"), 1);
    // A combining accent is a scalar of its own; the precomposed letter is another.
    EXPECT_EQ(AvatarPalette::index(u"e\u0301"), 0);  // 101 × 31 + 769 = 3900
    EXPECT_EQ(AvatarPalette::index(u"\u00E9"), 3);   // 233
    // A lone surrogate counts as the replacement character U+FFFD (65533).
    const QChar lone(char16_t(0xD800));
    EXPECT_EQ(AvatarPalette::index(QStringView(&lone, 1)), 3);
}

}  // namespace
