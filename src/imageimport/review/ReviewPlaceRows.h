#pragma once

#include "design/widgets/FieldFrame.h"
#include "design/widgets/TextField.h"
#include "model/MeetingLink.h"

#include <QString>

#include <optional>

class QHBoxLayout;

namespace design {
class TextLine;
}

namespace imageimport {

// The place of a review, edited where it stands: one line that grows to a
// second before it scrolls. Return is the screen's add, never a line break.
class LocationField final : public design::TextArea {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 2;

    explicit LocationField(QWidget* parent = nullptr);

    // Replaces the text when it differs, the caret at its end.
    void setTextKeepingEdit(const QString& text);
    // The lines the text takes at the field's width (at least one).
    int lineCount() const;

signals:
    void edited(const QString& text);
    void submitted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitHeight();
};

// A row of the review's card look: rounded, on the card colour, outlined in
// the line colour, its pieces side by side.
class ReviewRow : public design::FieldFrame {
    Q_OBJECT

protected:
    explicit ReviewRow(QWidget* parent);
    QHBoxLayout* row() const { return m_row; }

private:
    QHBoxLayout* m_row;
};

// The place: the pin, the field, and "found" while it holds what the image said.
class ReviewLocationRow final : public ReviewRow {
    Q_OBJECT

public:
    explicit ReviewLocationRow(QWidget* parent = nullptr);

    LocationField* field() const { return m_field; }
    bool showsFound() const;
    // The text, and the place the image gave (none: it gave none).
    void showLocation(const QString& location, const std::optional<QString>& found);

private:
    LocationField* m_field;
    design::TextLine* m_found;
};

// The meeting link the image held, which goes into the event: its service,
// its host, and "found". It only tells; it takes no click.
class ReviewMeetingRow final : public ReviewRow {
    Q_OBJECT

public:
    explicit ReviewMeetingRow(QWidget* parent = nullptr);

    void showLink(const model::MeetingLink& link);
    QString service() const;
    QString host() const;

private:
    design::TextLine* m_service;
    design::TextLine* m_host;
};

}  // namespace imageimport
