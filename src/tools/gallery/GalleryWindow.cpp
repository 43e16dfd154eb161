#include "GalleryWindow.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/TextLine.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace gallery {

namespace {

using namespace design;

constexpr int kSheetCaptionHeight = 24;

}  // namespace

EntryFrame::EntryFrame(QWidget* content, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(content);
    followAppearance(this);
}

void EntryFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(Theme::surface()));
}

GalleryWindow::GalleryWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Orbitday design kit"));
    followAppearance(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(12, 10, 12, 10);
    bar->setSpacing(6);
    QList<ODButton*> switches;
    for (const NamedAppearance& named : appearances()) {
        auto* button = new ODButton(named.name, std::nullopt, ODButtonKind::ghost, ODButtonSize::small);
        switches << button;
        bar->addWidget(button);
        connect(button, &ODButton::clicked, this, [switches, button, appearance = named.appearance] {
            for (ODButton* other : switches)
                other->setButtonStyle(ODButtonStyle(other == button ? ODButtonKind::primary : ODButtonKind::ghost,
                                                    ODButtonSize::small));
            Theme::setAppearance(appearance);
        });
    }
    bar->addStretch(1);
    column->addLayout(bar);

    auto* page = new QWidget;
    auto* entriesColumn = new QVBoxLayout(page);
    entriesColumn->setContentsMargins(12, 0, 12, 12);
    entriesColumn->setSpacing(4);
    for (const Entry& entry : entries()) {
        entriesColumn->addWidget(new TextLine(entry.name, ODFont::body(12, FontWeight::bold), Theme::text2()));
        entriesColumn->addWidget(new EntryFrame(entry.build()));
    }
    entriesColumn->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    scroll->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    column->addWidget(scroll);
    switches.first()->click();
    resize(760, 900);
}

void GalleryWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(Theme::surfaceSunk()));
}

QImage renderEntry(const Entry& entry) {
    EntryFrame frame(entry.build());
    // Its whole natural size: adjustSize() would cap it to a share of the screen.
    frame.resize(frame.sizeHint());
    frame.show();
    frame.activateWindow();
    QApplication::processEvents();
    QApplication::processEvents();
    return frame.grab().toImage();
}

bool writePngs(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    const Appearance before = Theme::appearance();
    bool ok = true;
    for (const NamedAppearance& named : appearances()) {
        Theme::setAppearance(named.appearance);
        QList<QImage> images;
        int width = 0;
        int height = 0;
        for (const Entry& entry : entries()) {
            const QImage image = renderEntry(entry);
            const QString path = QDir(folder).filePath(entry.name + QLatin1Char('-') + named.name + QStringLiteral(".png"));
            if (!image.save(path)) {
                *error = QStringLiteral("cannot write %1").arg(path);
                ok = false;
            }
            images << image;
            width = std::max(width, image.width());
            height += kSheetCaptionHeight + image.height();
        }
        QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
        sheet.fill(toQColor(Theme::surfaceSunk()));
        QPainter painter(&sheet);
        painter.setFont(ODFont::body(12, FontWeight::bold));
        painter.setPen(toQColor(Theme::text2()));
        int y = 0;
        for (qsizetype i = 0; i < images.size(); ++i) {
            painter.drawText(QRect(8, y, width - 16, kSheetCaptionHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             entries()[static_cast<size_t>(i)].name);
            y += kSheetCaptionHeight;
            painter.drawImage(0, y, images[i]);
            y += images[i].height();
        }
        painter.end();
        const QString sheetPath = QDir(folder).filePath(QStringLiteral("gallery-") + named.name + QStringLiteral(".png"));
        if (!sheet.save(sheetPath)) {
            *error = QStringLiteral("cannot write %1").arg(sheetPath);
            ok = false;
        }
    }
    Theme::setAppearance(before);
    return ok;
}

}  // namespace gallery
