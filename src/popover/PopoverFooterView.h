#pragma once

#include "core/Date.h"

#include <QAbstractButton>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace app {
class AppState;
class Updater;
}  // namespace app
namespace design {
class KitMenu;
class ODIconButton;
}  // namespace design
namespace store {
class CalendarStore;
}

class QVariantAnimation;

namespace popover {

class QuickAddField;
class SyncRow;

// The bottom band of the main screen: the quick-add field with its image
// button, the gear menu (New from Image…, Settings…, Refresh now, Check for
// Updates…, About, Quit) and the line that says when the calendars were read,
// which reads them again when clicked. Keeps no state of its own.
class PopoverFooterView : public QWidget {
    Q_OBJECT

public:
    PopoverFooterView(store::CalendarStore& store, app::AppState& appState, app::Updater& updater,
                      QWidget* parent = nullptr);
    ~PopoverFooterView() override;

    // What "Quit Orbitday" does; by default it ends the application.
    void setQuit(std::function<void()> quit) { m_quit = std::move(quit); }

    // "Syncing…", "Not synced yet", or "Synced" and the short time of the last sync.
    static QString syncText(bool isRefreshing, std::optional<core::Date> lastSynced);

    QAbstractButton* quickAddButton() const;
    QAbstractButton* imageButton() const;
    QAbstractButton* gearButton() const;
    QAbstractButton* syncButton() const;
    // The gear's menu as a click opens it, not yet shown.
    std::unique_ptr<design::KitMenu> buildMenu();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openMenu();
    void refresh();
    void chooseImage();

    store::CalendarStore& m_store;
    app::AppState& m_appState;
    app::Updater& m_updater;
    std::function<void()> m_quit;
    QuickAddField* m_quickAdd;
    design::ODIconButton* m_gear;
    SyncRow* m_sync;
};

// The capsule that opens quick add, with the image button at its end.
class QuickAddField : public QAbstractButton {
    Q_OBJECT

public:
    explicit QuickAddField(QWidget* parent = nullptr);

    design::ODIconButton* imageButton() const { return m_image; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    design::ODIconButton* m_image;
};

// When the calendars were last read; a click reads them again.
class SyncRow : public QAbstractButton {
    Q_OBJECT

public:
    explicit SyncRow(QWidget* parent = nullptr);

    void setState(bool isRefreshing, std::optional<core::Date> lastSynced);
    // The icon's turn in degrees: a half turn every 0.6 s while the calendars
    // are read, so that the arrows spin; at rest 0.
    qreal turn() const { return m_turn; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Spins while refreshing and on screen, never with reduced motion.
    void updateSpin();

    bool m_refreshing = false;
    QVariantAnimation* m_spin;
    qreal m_turn = 0;
};

}  // namespace popover
