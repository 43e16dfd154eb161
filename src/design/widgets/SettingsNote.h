#pragma once

#include <QString>
#include <QWidget>

namespace design {

class SymbolView;
class TextBlock;

// A tinted status line: a symbol, a text, and an optional accessory at the
// trailing end (a LinkButton, say). It reports a good state in green or gives a
// neutral hint in grey, and stretches over the width it is given.
class SettingsNote : public QWidget {
    Q_OBJECT

public:
    enum class Tone { good, neutral };

    static constexpr int kTrailingGap = 12;

    // Takes the trailing widget, which keeps its own colours.
    SettingsNote(const QString& icon, const QString& text, Tone tone = Tone::neutral, QWidget* trailing = nullptr,
                 QWidget* parent = nullptr);

    Tone tone() const { return m_tone; }
    void setText(const QString& text);
    QWidget* trailing() const { return m_trailing; }

    static void paintBackground(QPainter& painter, const QRectF& rect, Tone tone);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Tone m_tone;
    TextBlock* m_text;
    QWidget* m_trailing;
};

}  // namespace design
