#pragma once

#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "settings/SettingsTabModel.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace settingstest {

// The room a tab has in the settings window, under its tab bar.
inline constexpr int kTabWidth = 560;
inline constexpr int kTabHeight = 370;

class SettingsTabViews : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    SettingsTabViews() : ScreenEnvironment(storetest::local(2026, 3, 10, 9, 0)) {
        hotKeys.bind(settings, [this](app::HotKeyAction action) { performed.push_back(action); });
    }

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    void expectRendersInBothAppearances(QWidget& view, const QString& name) {
        view.setFixedHeight(kTabHeight);
        // A field's message line comes and goes; a shown view lays itself out again.
        view.show();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        for (const bool dark : {false, true})
            EXPECT_TRUE(testsupport::rendersAsReference(view, kTabWidth, dark, name)) << name.toStdString();
    }

    settings::SettingsTabModel tabs;
    std::vector<app::HotKeyAction> performed;
};

}  // namespace settingstest
