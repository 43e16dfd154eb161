#include "platform/privacy/ConsentWindow.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

using platform::ConsentWindow;
using platform::EntityType;

TEST(ConsentWindow, AsksAndAnswersExactlyOnce) {
    std::vector<bool> answers;
    {
        ConsentWindow window(EntityType::Event, [&](bool allowed) { answers.push_back(allowed); });
        const auto labels = window.findChildren<QLabel*>();
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0]->text(), QStringLiteral("Orbitday would like to access your calendars."));
        EXPECT_EQ(window.denyButton()->text(), QStringLiteral("Don't Allow"));
        window.show();
        window.allowButton()->click();
        window.denyButton()->click();
    }
    EXPECT_EQ(answers, std::vector<bool>{true});
}

TEST(ConsentWindow, ClosingOrDestroyingItIsNoPermission) {
    std::vector<bool> answers;
    {
        ConsentWindow window(EntityType::Reminder, [&](bool allowed) { answers.push_back(allowed); });
        window.show();
        window.close();
    }
    { ConsentWindow unanswered(EntityType::Reminder, [&](bool allowed) { answers.push_back(allowed); }); }
    EXPECT_EQ(answers, (std::vector<bool>{false, false}));
}
