#include "platform/images/ImageDecoders.h"

#include <QPainter>

#include <poppler-qt6.h>

#include <cmath>
#include <mutex>

namespace platform::images {
namespace {

// Poppler reports every flaw of a damaged document on standard error; a PDF that
// cannot be rendered is simply unreadable here.
void silenceOnce() {
    static std::once_flag once;
    std::call_once(once, [] { Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant()); });
}

}  // namespace

QImage renderFirstPdfPage(const QByteArray& bytes, int longest) {
    silenceOnce();
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(bytes);
    if (!document || document->isLocked() || document->numPages() < 1)
        return {};
    const std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page)
        return {};
    const QSizeF box = page->pageSizeF();
    const double side = std::max(box.width(), box.height());
    const double scale = side <= 1 ? 2.0 : std::min(longest / side, 2.0);
    const double width = std::trunc(box.width() * scale);
    const double height = std::trunc(box.height() * scale);
    // A page box that is empty, not a number or absurdly large gives no page.
    if (!(width >= 1 && height >= 1 && width <= longest && height <= longest))
        return {};

    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    document->setPaperColor(Qt::white);
    const QImage rendered = page->renderToImage(72.0 * scale, 72.0 * scale, 0, 0, static_cast<int>(width),
                                                static_cast<int>(height));
    if (rendered.isNull())
        return {};
    // Transparent parts of the page come out white.
    QImage result(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::white);
    QPainter painter(&result);
    painter.drawImage(0, 0, rendered);
    painter.end();
    return result;
}

}  // namespace platform::images
