#pragma once

#include "core/Color.h"
#include "design/widgets/KitMenu.h"

#include <QAbstractButton>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace design {

// The field-like button that shows one choice of a list and opens the whole list
// as a menu directly under itself: at least as wide as the button, the current
// choice checked, details right-aligned in grey, colour pills, separators and
// disabled entries. The button holds no choice of its own: it shows the row the
// caller marks as current, and a choice only reaches the caller.
class MenuButtonControl : public QAbstractButton {
    Q_OBJECT

public:
    // One entry, as the menu and the field show it.
    struct Entry {
        MenuRow row;
        bool separatorBefore = false;
    };

    static constexpr int kMenuGap = 4;
    static constexpr qreal kMinimumTextWidth = 220;
    static constexpr qreal kDetailInset = 40;
    static constexpr qreal kDisabledOpacity = 0.5;

    // The width it was given, or more where it widens to show its titles.
    qreal fieldWidth() const { return m_width; }
    // Widens the field, up to `mostWidth`, to show the longest title of its
    // entries whole; it never narrows below the width it was given. For lists
    // whose every value must read whole in whatever face the desktop has.
    void fitLongestTitle(qreal mostWidth);
    // The width the field needs to show this title whole beside its chevron.
    static qreal widthToShow(const MenuRow& row);
    QString placeholder() const { return m_placeholder; }
    void setPlaceholder(const QString& placeholder);
    // The focused border of the field look, shown while the caller says so.
    bool showsFocused() const { return m_focused; }
    void setShowsFocused(bool focused);

    // The entry shown in the field: none shows the placeholder.
    std::optional<size_t> currentIndex() const { return m_current; }
    const std::vector<Entry>& entries() const { return m_entries; }

    // The menu a click opens, not yet shown; choosing in it reaches the caller
    // even when this button is gone by then.
    std::unique_ptr<KitMenu> buildMenu() const;
    // Where the menu's top-left corner goes, on the screen: under the field's
    // bottom-left corner, kMenuGap below it.
    QPoint menuPosition() const;
    // Where the details of the menu end, from the start of the titles.
    static qreal detailStop(qreal width);

    QSize sizeHint() const override;

    static void paint(QPainter& painter, const QRectF& rect, const Entry* current, const QString& placeholder,
                      bool focused);

protected:
    MenuButtonControl(qreal width, const QString& placeholder, bool focused, QWidget* parent);

    void setEntries(std::vector<Entry> entries, std::optional<size_t> current);
    // What choosing the entry at `index` does; must not depend on this button living.
    virtual std::function<void()> choice(size_t index) const = 0;

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void popUp();
    void showCurrent();
    void fitWidth();

    qreal m_givenWidth;
    qreal m_width;
    std::optional<qreal> m_mostWidth;
    QString m_placeholder;
    bool m_focused;
    std::vector<Entry> m_entries;
    std::optional<size_t> m_current;
};

template <typename Value>
struct ODMenuItem {
    QString title;
    std::optional<QString> detail;
    Value value;
    std::optional<core::Color> dot;
    bool separatorBefore = false;
    bool isEnabled = true;
};

// A menu button over values: the field shows the first item whose value equals
// the selection (the placeholder when none does) and the menu checks every such
// item. Choosing an item calls onSelect with its value, also the current one;
// the selection changes only through setSelection.
template <typename Value>
class ODMenuButton : public MenuButtonControl {
public:
    ODMenuButton(std::vector<ODMenuItem<Value>> items, Value selection, qreal width, const QString& placeholder,
                 bool focused, std::function<void(const Value&)> onSelect, QWidget* parent = nullptr)
        : MenuButtonControl(width, placeholder, focused, parent),
          m_items(std::move(items)),
          m_selection(std::move(selection)),
          m_onSelect(std::move(onSelect)) {
        refresh();
    }

    const std::vector<ODMenuItem<Value>>& items() const { return m_items; }
    void setItems(std::vector<ODMenuItem<Value>> items) {
        m_items = std::move(items);
        refresh();
    }
    const Value& selection() const { return m_selection; }
    void setSelection(Value selection) {
        m_selection = std::move(selection);
        refresh();
    }
    void setOnSelect(std::function<void(const Value&)> onSelect) { m_onSelect = std::move(onSelect); }

protected:
    std::function<void()> choice(size_t index) const override {
        return [onSelect = m_onSelect, value = m_items[index].value] {
            if (onSelect)
                onSelect(value);
        };
    }

private:
    void refresh() {
        std::vector<Entry> entries;
        entries.reserve(m_items.size());
        std::optional<size_t> current;
        for (size_t i = 0; i < m_items.size(); ++i) {
            const ODMenuItem<Value>& item = m_items[i];
            const bool chosen = item.value == m_selection;
            if (chosen && !current)
                current = i;
            entries.push_back(Entry{MenuRow{item.title, item.detail, item.dot, chosen, item.isEnabled},
                                    item.separatorBefore});
        }
        setEntries(std::move(entries), current);
    }

    std::vector<ODMenuItem<Value>> m_items;
    Value m_selection;
    std::function<void(const Value&)> m_onSelect;
};

}  // namespace design
