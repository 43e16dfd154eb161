#include "popover/AboutDialog.h"

#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "state/PlatformWords.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

namespace app {

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::ODFont;
using design::Theme;

namespace {

constexpr int kWidth = 300;
constexpr int kPadding = 24;
constexpr qreal kTile = 56;

}  // namespace

AboutDialog& AboutDialog::present() {
    static QPointer<AboutDialog> dialog;
    if (!dialog) {
        dialog = new AboutDialog;
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        // Nothing else ends it: it goes with the application.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, dialog, &QObject::deleteLater);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return *dialog;
}

AboutDialog::AboutDialog(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(u"AboutDialog"_s);
    setWindowTitle(u"About Orbitday"_s);
    design::followAppearance(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding + static_cast<int>(kTile) + 14, kPadding, kPadding);
    layout->setSpacing(4);

    auto centred = [&](QWidget* widget) { layout->addWidget(widget, 0, Qt::AlignHCenter); };
    centred(new design::TextLine(u"Orbitday"_s, ODFont::display(22), Theme::text(), this));
    if (const QString version = versionText(); !version.isEmpty())
        centred(new design::TextLine(version, ODFont::body(12, FontWeight::medium), Theme::text3(), this));
    layout->addSpacing(8);
    auto* what = new design::TextBlock(u"Your calendars and reminders at a glance, from the tray."_s, ODFont::body(13),
                                       Theme::text2(), this);
    layout->addWidget(what);
    auto* privacy = new design::TextBlock(u"On "_s + words::thisComputer() + u". Nothing is uploaded."_s,
                                          ODFont::body(13), Theme::text2(), this);
    layout->addWidget(privacy);
    layout->addSpacing(14);
    auto* done = new design::ODButton(u"OK"_s, std::nullopt, design::ODButtonKind::primary,
                                      design::ODButtonSize::medium, true, this);
    layout->addWidget(done);
    connect(done, &QAbstractButton::clicked, this, &QWidget::close);

    setFixedWidth(kWidth);
    setFixedHeight(layout->heightForWidth(kWidth) > 0 ? layout->heightForWidth(kWidth) : sizeHint().height());
}

QString AboutDialog::versionText() {
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QString() : u"Version "_s + version;
}

void AboutDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), design::toQColor(Theme::surface()));
    const QRectF tile((width() - kTile) / 2, kPadding, kTile, kTile);
    design::Shape::rounded(14).fill(painter, tile, design::toQColor(Theme::flame()));
    design::Symbols::paint(painter, tile, u"calendar"_s, design::toQColor(Theme::onAccent()), 26,
                           FontWeight::semibold);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace app
