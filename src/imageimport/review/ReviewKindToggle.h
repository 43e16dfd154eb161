#pragma once

#include "imageimport/extraction/ImageExtraction.h"

#include <QWidget>

namespace imageimport {

class KindSegment;

// "Create as": the two segments, event and reminder, at the top of the review.
// It shows the kind it is given; a click (or Ctrl+1, Ctrl+2, placed by the
// screen) only asks for one.
class ReviewKindToggle final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPadding = 3;
    static constexpr qreal kTrackRadius = 10;

    explicit ReviewKindToggle(QWidget* parent = nullptr);

    void setKind(ImageExtraction::Kind kind);
    KindSegment* segment(ImageExtraction::Kind kind) const;

signals:
    void chosen(ImageExtraction::Kind kind);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    KindSegment* m_event;
    KindSegment* m_reminder;
};

}  // namespace imageimport
