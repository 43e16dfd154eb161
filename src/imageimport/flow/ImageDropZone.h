#pragma once

#include <QWidget>

namespace imageimport {

// Covers the popover while something is dragged over it and says whether a drop
// would be read. It only paints: the popover underneath takes the drop.
class ImageDropZone final : public QWidget {
    Q_OBJECT

public:
    explicit ImageDropZone(QWidget* parent = nullptr);

    bool accepts() const { return m_accepts; }
    void setAccepts(bool accepts);

    static QString title(bool accepts);
    static QString subtitle(bool accepts);
    static QString symbol(bool accepts);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_accepts = true;
};

}  // namespace imageimport
