#pragma once

#include <QString>
#include <QWidget>

class QHBoxLayout;

namespace design {

class TextLine;

// The small upper-case heading of a section, with an optional accessory at the
// trailing end (a short text in the small grey style, or any widget).
class SectionHeader : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinimumGap = 8;

    explicit SectionHeader(const QString& title, QWidget* parent = nullptr);

    // Shown in capitals whatever the case given.
    void setTitle(const QString& title);
    QString title() const;
    void setTrailingText(const QString& text);
    // Takes the widget; it gets the accessory's font (and colour, for a TextLine).
    void setTrailing(QWidget* trailing);
    QWidget* trailing() const { return m_trailing; }

private:
    QHBoxLayout* m_layout;
    TextLine* m_title;
    QWidget* m_trailing = nullptr;
};

}  // namespace design
