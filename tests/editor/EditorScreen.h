#pragma once

// The editor's screen over the fakes, for the widget tests.

#include "EditorTestSupport.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "design/values/Theme.h"
#include "design/widgets/TextField.h"
#include "editor/EditorFooter.h"
#include "editor/EditorRows.h"
#include "editor/EventEditForm.h"
#include "editor/EventEditView.h"
#include "editor/EventEditorModel.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace editortest {

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using platform::PlatformEvent;

inline constexpr core::Color kBlue = core::Color::rgb(40, 90, 220);
inline constexpr core::Color kGreen = core::Color::rgb(40, 160, 80);

// Tuesday 10 March 2026, 14:20, with a work and a home calendar; motion reduced
// unless a test asks for it.
class EditorScreen : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    EditorScreen() : testsupport::ScreenEnvironment(local(2026, 3, 10, 14, 20)) {
        work = ek.addCalendar(EntityType::Event, u"Work"_s, kBlue);
        home = ek.addCalendar(EntityType::Event, u"Home"_s, kGreen);
        ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
        store.reload();
    }

    void SetUp() override {
        ASSERT_EQ(testsupport::missingFontFamilies(), QStringList());
        design::Theme::setAppearance({.reduceMotion = true});
        // A caret that does not blink is in every picture or in none.
        QApplication::setCursorFlashTime(0);
    }
    void TearDown() override {
        m_view.reset();
        design::Theme::setAppearance({});
    }

    editor::EventEditView& open(std::optional<QString> id, std::optional<core::Date> start = {}) {
        m_view.reset();
        route = id ? app::PopoverRoute::eventEdit(*id) : app::PopoverRoute::eventCreate(*start);
        appState.setRoute(route);
        m_view = std::make_unique<editor::EventEditView>(environment, std::move(id), start);
        m_view->resize(364, 600);
        m_view->show();
        QApplication::setActiveWindow(m_view.get());
        QCoreApplication::processEvents();
        return *m_view;
    }
    editor::EventEditView& view() { return *m_view; }
    editor::EventEditForm& form() { return *m_view->form(); }
    editor::EventEditorModel& model() { return m_view->model(); }
    editor::EditorFooter& footer() { return *form().footer(); }
    design::TextField* title() { return form().titleField()->field(); }

    QString add(PlatformEvent event) { return editortest::add(ek, store, std::move(event)); }
    std::vector<model::ODEvent> named(const QString& title) const {
        std::vector<model::ODEvent> found;
        for (const model::ODEvent& event : store.events())
            if (event.title == title)
                found.push_back(event);
        return found;
    }
    bool leftEditor() const { return appState.route() == app::PopoverRoute::main(); }
    // Types into a field as the keyboard does (as one key press, so that any letter goes).
    static void type(QWidget* field, const QString& text) {
        field->setFocus(Qt::OtherFocusReason);
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text, Qt::NoModifier);
    }

    QImage shot(const QString& name, bool dark) { return testsupport::renderOnSurface(*m_view, 364, dark, name); }
    void pin(const QString& state) {
        for (const bool dark : {false, true}) {
            const QString name = u"editor-"_s + state + (dark ? u"-dark"_s : u"-light"_s);
            EXPECT_TRUE(testsupport::matchesReference(shot(u"editor-"_s + state, dark), name));
        }
    }

    platform::PlatformCalendar work;
    platform::PlatformCalendar home;
    app::PopoverRoute route;

private:
    std::unique_ptr<editor::EventEditView> m_view;
};

}  // namespace editortest
