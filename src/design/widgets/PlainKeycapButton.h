#pragma once

#include "design/widgets/PlainButton.h"

#include <QString>

namespace design {

// A plain button whose face is a keycap, optionally followed by a
// few words: the "esc" that closes a screen, "⇥ tab more details" in a footer.
// The keycap only shows the key; the key itself reaches the screen elsewhere.
class PlainKeycapButton : public PlainButton {
    Q_OBJECT

public:
    static constexpr int kSpacing = 6;

    // Read out as its title, or as the key when it has none (name it then).
    explicit PlainKeycapButton(const QString& keycap, const QString& title = {}, QWidget* parent = nullptr);

    QString keycap() const { return m_keycap; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_keycap;
};

}  // namespace design
