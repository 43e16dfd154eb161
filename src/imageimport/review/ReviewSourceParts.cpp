#include "imageimport/review/ReviewSourceParts.h"

#include "design/values/SymbolTable.h"
#include "design/values/Theme.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PlainButton.h"
#include "design/widgets/PlainTextButton.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "platform/images/QtImages.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollBar>
#include <QVariantAnimation>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::Theme;

namespace imageimport {

namespace {

constexpr qreal kRadius = 12;

QString bannerSymbol() {
    static const QString symbol = design::SymbolTable::hasSymbol(u"calendar.badge.exclamationmark"_s)
                                      ? u"calendar.badge.exclamationmark"_s
                                      : u"calendar"_s;
    return symbol;
}

// The image, filling a small portrait tile from its top-left corner; a soft
// tile when there is none.
class SourceThumb final : public QWidget {
public:
    SourceThumb(const std::optional<platform::LoadedImage>& image, QWidget* parent)
        : QWidget(parent), m_image(image ? platform::images::toQImage(*image) : QImage()) {
        setFixedSize(ReviewSourceStrip::kThumbWidth, ReviewSourceStrip::kThumbHeight);
        design::setAccessibleRole(this, QAccessible::NoRole);
        design::followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF box(rect());
        const design::Shape shape = design::Shape::rounded(6);
        if (m_image.isNull()) {
            shape.fill(painter, box, design::toQColor(Theme::fillSoft()));
            return;
        }
        const QSizeF filled = QSizeF(m_image.size()).scaled(box.size(), Qt::KeepAspectRatioByExpanding);
        painter.save();
        painter.setClipPath(shape.path(box));
        painter.drawImage(QRectF(QPointF(0, 0), filled), m_image);
        painter.restore();
        shape.strokeBorder(painter, box, design::toQColor(Theme::line()), 1);
    }

private:
    QImage m_image;
};

// "Recognised text · added to notes" and a chevron that turns down while open.
class DisclosureRow final : public design::PlainButton {
public:
    explicit DisclosureRow(QWidget* parent) : PlainButton(design::Shape::rounded(4), parent) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setCheckable(true);
    }

    QSize sizeHint() const override {
        const QFontMetricsF metrics(labelFont());
        return QSize(static_cast<int>(std::ceil(design::Symbols::boxSide(11) + 6 + metrics.horizontalAdvance(kLabel) +
                                                4 + design::Symbols::boxSide(9))),
                     static_cast<int>(std::ceil(std::max(metrics.height(), design::Symbols::boxSide(11)))));
    }

protected:
    void nextCheckState() override {}

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        beginPaint(painter);
        const qreal side = design::Symbols::boxSide(11);
        const QRectF icon(0, (height() - side) / 2, side, side);
        const QColor secondary = design::toQColor(Theme::text2());
        design::Symbols::paint(painter, icon, u"text.viewfinder"_s, secondary, 11, FontWeight::medium);
        painter.setFont(labelFont());
        painter.setPen(secondary);
        painter.drawText(QRectF(icon.right() + 6, 0, width() - icon.right() - 6, height()),
                         Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, kLabel);
        const qreal chevronSide = design::Symbols::boxSide(9);
        const QRectF chevron(width() - chevronSide, (height() - chevronSide) / 2, chevronSide, chevronSide);
        painter.translate(chevron.center());
        if (isChecked())
            painter.rotate(90);
        design::Symbols::paint(painter, chevron.translated(-chevron.center()), u"chevron.right"_s,
                               design::toQColor(Theme::text3()), 9, FontWeight::bold);
    }

private:
    static inline const QString kLabel = u"Recognised text \u00B7 added to notes"_s;
    static QFont labelFont() { return design::ODFont::body(11.5, FontWeight::bold); }
};

}  // namespace

// --- Notes and the no-date banner -------------------------------------------------------------------

namespace {
constexpr int kNoteSide = 12;
constexpr int kNoteSpacing = 8;
}  // namespace

ReviewNote::ReviewNote(const QString& text, const Look& look, QWidget* parent)
    : QWidget(parent), m_look(look), m_text(new design::TextBlock(text, look.font, look.color, this)) {
    design::followAppearance(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kNoteSide, look.verticalPadding, kNoteSide, look.verticalPadding);
    row->setSpacing(kNoteSpacing);
    auto* icon = new design::SymbolView(look.symbol, look.symbolSize, FontWeight::medium, look.color, this);
    design::setAccessibleRole(icon, QAccessible::NoRole);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(m_text, 1);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QString ReviewNote::text() const { return m_text->text(); }

void ReviewNote::setText(const QString& text) {
    m_text->setText(text);
    updateGeometry();
}

int ReviewNote::heightForWidth(int width) const {
    const int symbol = static_cast<int>(std::ceil(design::Symbols::boxSide(m_look.symbolSize)));
    const int text = m_text->heightForWidth(std::max(width - 2 * kNoteSide - kNoteSpacing - symbol, 1));
    return std::max(text, symbol) + 2 * m_look.verticalPadding;
}

QSize ReviewNote::sizeHint() const {
    const int width = 340;
    return QSize(width, heightForWidth(width));
}

void ReviewNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    design::Shape::rounded(kRadius).fill(painter, QRectF(rect()), m_look.fill.resolve());
}

ReviewNoDateBanner::ReviewNoDateBanner(QWidget* parent)
    : ReviewNote(u"No date in this image. We filled in the rest. Pick a day below."_s,
                 {bannerSymbol(), 13, design::ODFont::body(12, FontWeight::semibold), Theme::amberInk(),
                  Theme::amberSoft(), 10},
                 parent) {
    setObjectName(u"ReviewNoDateBanner"_s);
}

// --- Source strip ------------------------------------------------------------------------------------

ReviewSourceStrip::ReviewSourceStrip(const std::optional<platform::LoadedImage>& thumbnail, QWidget* parent)
    : QWidget(parent),
      m_status(new design::TextLine({}, design::ODFont::body(11.5, FontWeight::medium), Theme::text2(), this)),
      m_change(new design::PlainTextButton(u"Change"_s, design::ODFont::body(12, FontWeight::bold), Theme::flame(),
                                           this)) {
    setObjectName(u"ReviewSourceStrip"_s);
    design::followAppearance(this);
    design::setAccessibleRole(this, QAccessible::Grouping);
    auto* title = new design::TextLine(u"From your screenshot"_s, design::ODFont::body(12.5, FontWeight::bold),
                                       Theme::text(), this);
    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    words->addWidget(title);
    words->addWidget(m_status);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 8, 10, 8);
    row->setSpacing(10);
    row->addWidget(new SourceThumb(thumbnail, this));
    row->addLayout(words, 1);
    row->addWidget(m_change);
    m_change->setToolTip(u"Choose another image"_s);
    m_change->setAccessibleName(u"Change image"_s);
    connect(m_change, &QAbstractButton::clicked, this, &ReviewSourceStrip::changeClicked);
}

void ReviewSourceStrip::setStatus(const QString& status) { m_status->setText(status); }
QString ReviewSourceStrip::status() const { return m_status->text(); }
QAbstractButton* ReviewSourceStrip::changeButton() const { return m_change; }

void ReviewSourceStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const design::Shape shape = design::Shape::rounded(kRadius);
    shape.fill(painter, QRectF(rect()), design::toQColor(Theme::card()));
    shape.strokeBorder(painter, QRectF(rect()), design::toQColor(Theme::line()), 1);
}

// --- Recognised text ---------------------------------------------------------------------------------

RecognisedTextPanel::RecognisedTextPanel(const QString& preview, QWidget* parent)
    : QWidget(parent),
      m_disclosure(new DisclosureRow(this)),
      m_preview(new design::TextBlock(preview, design::ODFont::body(11.5, FontWeight::medium), Theme::text3(), this)),
      m_editor(new QPlainTextEdit(this)),
      m_motion(new QVariantAnimation(this)) {
    setObjectName(u"RecognisedTextPanel"_s);
    design::followAppearance(this);
    m_preview->setMaximumLines(2);
    design::setAccessibleRole(m_preview, QAccessible::NoRole);
    m_editor->setFont(design::ODFont::body(11.5, FontWeight::medium));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setFixedHeight(kEditorHeight);
    m_editor->setAccessibleName(u"Notes"_s);
    m_editor->viewport()->setAutoFillBackground(false);
    m_editor->setTabChangesFocus(true);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Notes longer than the editor scroll, and show that they do.
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    design::useKitScrollBar(m_editor->verticalScrollBar());
    m_editor->hide();
    styleEditor();
    connect(&design::AppearanceSignal::instance(), &design::AppearanceSignal::changed, this,
            &RecognisedTextPanel::styleEditor);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 9, 12, 9);
    column->setSpacing(4);
    column->addWidget(m_disclosure);
    column->addWidget(m_preview);
    column->addWidget(m_editor);
    m_motion->setDuration(kDisclosureMs);
    m_motion->setEasingCurve(QEasingCurve::OutQuad);
    connect(m_motion, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& height) { setFixedHeight(height.toInt()); });
    connect(m_motion, &QVariantAnimation::finished, this, [this] {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    });
    connect(m_disclosure, &QAbstractButton::clicked, this, &RecognisedTextPanel::toggled);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] { emit notesEdited(m_editor->toPlainText()); });
    setOpen(false);
}

void RecognisedTextPanel::setOpen(bool open) {
    const bool moves = open != m_open && isVisible() && !Theme::appearance().reduceMotion;
    const int from = height();
    m_open = open;
    m_disclosure->setChecked(open);
    m_disclosure->setAccessibleName(open ? u"Hide recognised text"_s
                                         : u"Show and edit recognised text. It's added to the notes."_s);
    m_preview->setVisible(!open);
    m_editor->setVisible(open);
    m_disclosure->update();
    if (moves)
        moveHeight(from);
}

void RecognisedTextPanel::moveHeight(int from) {
    m_motion->stop();
    m_motion->setStartValue(from);
    m_motion->setEndValue(design::wantedHeight(*this, width()));
    setFixedHeight(from);
    m_motion->start();
}

void RecognisedTextPanel::setNotes(const QString& notes) {
    if (m_editor->toPlainText() == notes)
        return;
    const QSignalBlocker quiet(m_editor);
    m_editor->setPlainText(notes);
    // What the user adds goes after what the image gave.
    m_editor->moveCursor(QTextCursor::End);
}

// The editor sits on the panel's own fill, in the panel's text colour.
void RecognisedTextPanel::styleEditor() {
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, design::toQColor(Theme::text2()));
    palette.setColor(QPalette::Highlight, design::toQColor(Theme::flameSoft()));
    palette.setColor(QPalette::HighlightedText, design::toQColor(Theme::text()));
    m_editor->setPalette(palette);
}

void RecognisedTextPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const design::Shape shape = design::Shape::rounded(kRadius);
    shape.fill(painter, QRectF(rect()), design::toQColor(Theme::surfaceSunk()));
    shape.strokeBorder(painter, QRectF(rect()), design::toQColor(Theme::line()), 1);
}

}  // namespace imageimport
