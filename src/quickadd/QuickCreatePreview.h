#pragma once

#include "quickadd/QuickCreateModel.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QAbstractButton;
class QVariantAnimation;
class QVBoxLayout;

namespace design {
class TextLine;
}

namespace quickadd {

// The amber line above the preview that names the first event the new one
// overlaps, with "Show", which marks that event in the preview for a moment.
class ConflictRow : public QWidget {
    Q_OBJECT

public:
    explicit ConflictRow(QWidget* parent = nullptr);

    void setConflict(const model::ODEvent& first, int count);
    // The whole line; `shownText` is what the room leaves of it.
    QString text() const { return m_full; }
    QString shownText() const;
    QAbstractButton* showButton() const { return m_show; }

signals:
    void showClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitText();

    design::TextLine* m_text;
    QAbstractButton* m_show;
    QString m_full;
    QString m_title;
};

// One row of the day preview: the calendar's bar, the time and the title, and
// "new!" on the event being made or "Overlap" on one it clashes with.
class PreviewRow : public QWidget {
    Q_OBJECT

public:
    explicit PreviewRow(QWidget* parent = nullptr);

    const QuickCreateModel::PreviewItem& item() const { return m_item; }
    void setItem(const QuickCreateModel::PreviewItem& item);
    // How strongly the amber border of a flashed row shows, 0 to 1.
    qreal flash() const { return m_flash; }
    void setFlash(qreal strength);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintTrailingMark(QPainter& painter, qreal right, qreal centreY) const;
    qreal trailingMarkWidth() const;

    QuickCreateModel::PreviewItem m_item;
    qreal m_flash = 0;
};

// The new event among the other events of its day: the day's heading, up to
// five rows around the new one, and a closing line when nothing follows it.
class DayPreview : public QWidget {
    Q_OBJECT

public:
    explicit DayPreview(QWidget* parent = nullptr);

    void setPreview(core::Date day, const QuickCreateModel::Preview& preview, const std::optional<QString>& flashID);

    QString heading() const;
    std::vector<PreviewRow*> rows() const;
    std::optional<QString> closingLine() const;

private:
    void fadeFlash(PreviewRow* row, qreal to, int milliseconds);

    QVBoxLayout* m_layout;
    design::TextLine* m_heading;
    std::vector<PreviewRow*> m_rows;
    design::TextLine* m_closing;
    QVariantAnimation* m_flashMotion;
    QPointer<PreviewRow> m_flashing;
    std::optional<QString> m_flashID;
};

}  // namespace quickadd
