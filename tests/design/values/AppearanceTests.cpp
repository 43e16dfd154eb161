#include "design/values/AppearanceBinding.h"
#include "design/values/Theme.h"
#include "platform/appearance/FakeSystemAppearance.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using design::Appearance;
using design::Theme;
using platform::SystemAppearance;

class AppearanceChain : public ::testing::Test {
protected:
    void SetUp() override { Theme::setAppearance(Appearance{}); }
    void TearDown() override { Theme::setAppearance(Appearance{}); }

    platform::FakeSystemAppearance system;
};

TEST(ResolvedAppearance, AChosenSchemeOverridesOnlyTheDesktopsScheme) {
    const SystemAppearance::State darkDesktop{true, true, true};
    const SystemAppearance::State lightDesktop{false, false, false};
    EXPECT_EQ(design::resolveAppearance(false, darkDesktop), (Appearance{false, true, true}));
    EXPECT_EQ(design::resolveAppearance(true, lightDesktop), (Appearance{true, false, false}));
    EXPECT_EQ(design::resolveAppearance(std::nullopt, darkDesktop), (Appearance{true, true, true}));
    EXPECT_EQ(design::resolveAppearance(std::nullopt, lightDesktop), (Appearance{false, false, false}));
}

TEST_F(AppearanceChain, DarkChosenOverALightDesktopDarkensTheColours) {
    design::AppearanceBinding binding(system);
    EXPECT_EQ(Theme::text().resolve(), Theme::ink());
    binding.setChosenDark(true);
    EXPECT_EQ(Theme::text().resolve(), Theme::snow());
    // The desktop turning dark and light again changes nothing while the choice holds.
    system.set({true, false, false});
    system.set({false, false, false});
    EXPECT_EQ(Theme::text().resolve(), Theme::snow());
}

TEST_F(AppearanceChain, WithoutAChoiceTheDesktopIsFollowedAsItChanges) {
    design::AppearanceBinding binding(system);
    QSignalSpy announced(&design::AppearanceSignal::instance(), &design::AppearanceSignal::changed);
    system.set({true, false, false});
    EXPECT_EQ(Theme::card().resolve(), design::colorFromHex(u"#2E333A"));
    system.set({true, true, false});
    EXPECT_EQ(Theme::text2().resolve(), design::colorFromHex(u"#D5D9DE"));
    system.set({true, true, true});
    EXPECT_TRUE(Theme::appearance().reduceMotion);
    EXPECT_EQ(announced.count(), 3);
}

TEST_F(AppearanceChain, TheBindingAppliesAtOnceAndAnnouncesOnlyChanges) {
    system.set({true, false, false});
    QSignalSpy announced(&design::AppearanceSignal::instance(), &design::AppearanceSignal::changed);
    design::AppearanceBinding binding(system);
    EXPECT_TRUE(Theme::appearance().isDark);
    ASSERT_EQ(announced.count(), 1);
    EXPECT_EQ(announced.at(0).at(0).value<Appearance>(), (Appearance{true, false, false}));
    // Choosing dark on a dark desktop is no change to announce.
    binding.setChosenDark(true);
    EXPECT_EQ(announced.count(), 1);
}

TEST(InkTile, IsAFaintTileThatContrastStrengthens) {
    const auto& tile = Theme::inkTile();
    // Fainter than the flame glyph it sits under, and never stronger than a stroke.
    for (const core::Color c : {tile.light(), tile.dark(), tile.lightHighContrast(), tile.darkHighContrast()}) {
        EXPECT_GT(c.alpha, 0);
        EXPECT_LT(c.alpha, Theme::strokeStrong().light().alpha);
    }
    EXPECT_GT(tile.light().alpha, Theme::fillSoft().light().alpha);
    EXPECT_GT(tile.dark().alpha, Theme::fillSoft().dark().alpha);
    EXPECT_GT(tile.lightHighContrast().alpha, tile.light().alpha);
    EXPECT_GT(tile.darkHighContrast().alpha, tile.dark().alpha);
}

}  // namespace
