#pragma once

#include "design/widgets/KitMenu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QStringList>
#include <QTimer>

namespace testsupport {

// Answers the first kit menu that opens with the given keys, from inside its own
// event loop, and remembers where it stood and what it offered: a click that
// opens a menu can be tested whole without a timer. For widget tests.
class MenuResponder : public QObject {
public:
    explicit MenuResponder(QList<Qt::Key> keys) : m_keys(std::move(keys)) { qApp->installEventFilter(this); }
    // Clicks the row'th row (separators not counted) with the mouse instead.
    struct ClickRow {};
    MenuResponder(ClickRow, int row) : m_click(row) { qApp->installEventFilter(this); }
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
            QList<QAction*> rows;
            for (QAction* action : menu->actions()) {
                if (const design::MenuRow* row = menu->row(action)) {
                    rows << action;
                    titles << row->title;
                    if (row->checked)
                        checked << row->title;
                }
            }
            for (Qt::Key key : m_keys)
                QCoreApplication::postEvent(menu, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
            if (m_click >= 0 && m_click < rows.size()) {
                // Once the menu runs its own loop and has laid out its rows. Sent to the
                // menu itself: through the window system, the offscreen platform would make
                // the menu the active window, which no desktop does.
                QTimer::singleShot(0, menu, [menu, action = rows[m_click]] {
                    const QPointF at = menu->actionGeometry(action).center();
                    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                        QMouseEvent click(type, at, menu->mapToGlobal(at), Qt::LeftButton,
                                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                          Qt::NoModifier);
                        QApplication::sendEvent(menu, &click);
                    }
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<Qt::Key> m_keys;
    qsizetype m_click = -1;
};

}  // namespace testsupport
