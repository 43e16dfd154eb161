#include "settings/CustomDateFormatPopover.h"

#include "core/Date.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "settings/CustomDatePattern.h"
#include "state/AppSettings.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace settings {

namespace {

constexpr int kPadding = 14;
constexpr int kButtonSpacing = 8;

void colourField(QLineEdit* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, design::toQColor(design::Theme::text()));
    palette.setColor(QPalette::PlaceholderText, design::toQColor(design::Theme::text3()));
    field->setPalette(palette);
}

}  // namespace

CustomDateFormatPopover::CustomDateFormatPopover(app::AppSettings& settings, QWidget* parent)
    : design::AnchoredPopover(new QWidget, parent),
      m_settings(settings),
      m_field(new QLineEdit(settings.customDateFormat())),
      m_preview(new design::TextBlock(QString(), design::ODFont::body(13, design::FontWeight::semibold),
                                      design::Theme::text())),
      m_cancel(new design::ODButton(u"Cancel"_s, std::nullopt, design::ODButtonKind::secondary,
                                    design::ODButtonSize::small)),
      m_use(new design::ODButton(u"Use format"_s, std::nullopt, design::ODButtonKind::primary,
                                 design::ODButtonSize::small)) {
    setAttribute(Qt::WA_DeleteOnClose);
    content()->setFixedWidth(kWidth);
    setWindowTitle(u"Custom date format"_s);

    auto* column = new QVBoxLayout(content());
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(10);
    column->addWidget(new design::TextLine(u"Custom date format"_s,
                                           design::ODFont::body(13, design::FontWeight::semibold),
                                           design::Theme::text()));

    m_field->setPlaceholderText(u"EEE d MMM"_s);
    m_field->setAccessibleName(u"Date pattern"_s);
    m_field->setFrame(false);
    m_field->setFont(design::ODFont::monospace(13));
    m_field->setTextMargins(8, 6, 8, 6);
    colourField(m_field);
    connect(&design::AppearanceSignal::instance(), &design::AppearanceSignal::changed, m_field,
            [this] { colourField(m_field); });
    column->addWidget(design::fieldBackground(m_field, false, false));

    auto* previewRow = new QHBoxLayout;
    previewRow->setSpacing(6);
    previewRow->addWidget(new design::TextLine(u"Preview"_s, design::ODFont::body(11), design::Theme::text3()), 0,
                          Qt::AlignVCenter);
    previewRow->addWidget(m_preview, 1, Qt::AlignVCenter);
    column->addLayout(previewRow);

    auto* key = new design::TextBlock(u"EEE = Fri \u00B7 EEEE = Friday \u00B7 d = 6 \u00B7 MMM = Nov \u00B7 MM = 11 \u00B7 "
                                      u"yyyy = 2026 \u00B7 HH:mm = 09:47 \u00B7 w = week"_s,
                                      design::ODFont::body(10.5), design::Theme::text3());
    column->addWidget(key);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kButtonSpacing);
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_use);
    column->addLayout(buttons);

    connect(m_field, &QLineEdit::textChanged, this, &CustomDateFormatPopover::refresh);
    connect(m_field, &QLineEdit::returnPressed, this, &CustomDateFormatPopover::use);
    connect(m_use, &QAbstractButton::clicked, this, &CustomDateFormatPopover::use);
    connect(m_cancel, &QAbstractButton::clicked, this, &QWidget::close);
    refresh();
}

QString CustomDateFormatPopover::previewText() const {
    return m_preview->text();
}

void CustomDateFormatPopover::popUpUnder(QWidget* anchor) {
    showBelow(anchor);
    m_field->setFocus(Qt::PopupFocusReason);
    m_field->selectAll();
}

void CustomDateFormatPopover::refresh() {
    // Any moment will do: the preview shows the pattern, not a ticking clock.
    const std::optional<QString> preview = patternPreview(m_field->text(), core::Date::now());
    m_preview->setText(preview.value_or(u"Not a date pattern"_s));
    m_preview->setColor(preview ? design::Tint(design::Theme::text()) : design::Tint(design::Theme::flame()));
    m_use->setEnabled(canUsePattern(m_field->text()));
}

void CustomDateFormatPopover::use() {
    if (useCustomPattern(m_settings, m_field->text()))
        close();
}

void CustomDateFormatPopover::keyPressEvent(QKeyEvent* event) {
    // The field leaves Return to its parents after acting on it: it must end here,
    // or the settings window would see it too.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    design::AnchoredPopover::keyPressEvent(event);
}

void CustomDateFormatPopover::hideEvent(QHideEvent* event) {
    design::AnchoredPopover::hideEvent(event);
    emit closed();
}

}  // namespace settings
