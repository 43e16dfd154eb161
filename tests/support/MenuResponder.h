#pragma once

#include "design/KitMenu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QStringList>

namespace testsupport {

// Answers the first kit menu that opens with the given keys, from inside its own
// event loop, and remembers where it stood and what it offered: a click that
// opens a menu can be tested whole without a timer. For widget tests.
class MenuResponder : public QObject {
public:
    explicit MenuResponder(QList<Qt::Key> keys) : m_keys(std::move(keys)) { qApp->installEventFilter(this); }
    ~MenuResponder() override { qApp->removeEventFilter(this); }

    QRect geometry;
    int opened = 0;
    // The rows of the last menu opened, and which of them were checked.
    QStringList titles;
    QStringList checked;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* menu = qobject_cast<design::KitMenu*>(watched);
        if (menu != nullptr && event->type() == QEvent::Show) {
            ++opened;
            geometry = menu->geometry();
            titles.clear();
            checked.clear();
            for (const QAction* action : menu->actions()) {
                if (const design::MenuRow* row = menu->row(action)) {
                    titles << row->title;
                    if (row->checked)
                        checked << row->title;
                }
            }
            for (Qt::Key key : m_keys)
                QCoreApplication::postEvent(menu, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<Qt::Key> m_keys;
};

}  // namespace testsupport
