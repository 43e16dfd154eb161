#pragma once

#include <QAbstractButton>
#include <QString>

#include <optional>

namespace design {

// A text button in the link colour with an optional small symbol after the
// title. What it does is the caller's: `clicked` once per click (or Space or
// Return while focused).
class LinkButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit LinkButton(const QString& title, std::optional<QString> icon = std::nullopt, QWidget* parent = nullptr);

    QString title() const { return m_title; }

    QSize sizeHint() const override;

    static QSizeF sizeFor(const QString& title, const std::optional<QString>& icon);
    static void paint(QPainter& painter, const QRectF& rect, const QString& title, const std::optional<QString>& icon);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_title;
    std::optional<QString> m_icon;
};

}  // namespace design
