#pragma once

#include "design/widgets/Painting.h"
#include "platform/images/ImageLoader.h"

#include <QFont>
#include <QImage>
#include <QWidget>

#include <optional>

class QAbstractButton;
class QPlainTextEdit;
class QVariantAnimation;

namespace design {
class PlainTextButton;
class TextBlock;
class TextLine;
}  // namespace design

namespace imageimport {

// A short note on a soft tile: a symbol beside words that wrap rather than
// cut, the tile growing with them.
class ReviewNote : public QWidget {
    Q_OBJECT

public:
    struct Look {
        QString symbol;
        qreal symbolSize = 13;
        QFont font;
        design::Tint color;
        design::Tint fill;
        int verticalPadding = 10;
    };

    ReviewNote(const QString& text, const Look& look, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look m_look;
    design::TextBlock* m_text;
};

// In place of the source strip while no day is set: says that a day still has
// to be picked below.
class ReviewNoDateBanner final : public ReviewNote {
    Q_OBJECT

public:
    explicit ReviewNoDateBanner(QWidget* parent = nullptr);
};

// Where the data came from: the image's thumbnail, what was found, and "Change"
// to choose another image.
class ReviewSourceStrip final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kThumbWidth = 40;
    static constexpr int kThumbHeight = 50;

    explicit ReviewSourceStrip(const std::optional<platform::LoadedImage>& thumbnail, QWidget* parent = nullptr);

    void setStatus(const QString& status);
    QString status() const;
    QAbstractButton* changeButton() const;

signals:
    void changeClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    design::TextLine* m_status;
    design::PlainTextButton* m_change;
};

// The recognised text: two lines of it, or, opened, the editor of the notes
// that are saved with the item (they start as what the image gave).
class RecognisedTextPanel final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kEditorHeight = 120;
    static constexpr int kDisclosureMs = 150;

    RecognisedTextPanel(const QString& preview, QWidget* parent = nullptr);

    void setOpen(bool open);
    bool isOpen() const { return m_open; }
    // Opening or closing on screen grows or shrinks the panel over kDisclosureMs,
    // unless motion is reduced.
    // Shows the notes unless they are being edited.
    void setNotes(const QString& notes);
    QAbstractButton* disclosure() const { return m_disclosure; }
    QPlainTextEdit* editor() const { return m_editor; }

signals:
    void toggled();
    void notesEdited(const QString& notes);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void styleEditor();
    void moveHeight(int from);

    QAbstractButton* m_disclosure;
    design::TextBlock* m_preview;
    QPlainTextEdit* m_editor;
    QVariantAnimation* m_motion;
    bool m_open = false;
};

}  // namespace imageimport
