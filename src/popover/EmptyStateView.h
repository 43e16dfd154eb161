#pragma once

#include "design/widgets/Painting.h"

#include <QString>
#include <QWidget>

namespace design {
class TextBlock;
class TextLine;
}  // namespace design

namespace popover {

// The centred block shown where a list has nothing in it: a tinted tile with a
// symbol, turned a little (upright when the user asks for reduced motion), a
// title, a message that wraps onto as many centred lines as it needs, and
// optionally a control below, such as a button.
class EmptyStateView : public QWidget {
    Q_OBJECT

public:
    // Takes the accessory, when given.
    EmptyStateView(const QString& symbol, design::Tint tint, const QString& title, const QString& message,
                   design::Tint iconForeground, QWidget* accessory = nullptr, QWidget* parent = nullptr);

    QString symbol() const;
    QString title() const;
    QString message() const;
    QWidget* accessory() const { return m_accessory; }

private:
    class Tile;

    Tile* m_tile;
    design::TextLine* m_title;
    design::TextBlock* m_message;
    QWidget* m_accessory;
};

}  // namespace popover
