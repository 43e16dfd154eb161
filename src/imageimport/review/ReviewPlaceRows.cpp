#include "imageimport/review/ReviewPlaceRows.h"

#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/TextLine.h"

#include <QAbstractTextDocumentLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTextBlock>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::Theme;

namespace imageimport {

namespace {

constexpr qreal kRadius = 12;
const QMargins kPadding{12, 9, 12, 9};

design::TextLine* foundMark(QWidget* parent) {
    auto* mark = new design::TextLine(u"found"_s, design::ODFont::body(10, FontWeight::bold), Theme::leafInk(), parent);
    mark->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return mark;
}

}  // namespace

// --- LocationField ------------------------------------------------------------------------------------

LocationField::LocationField(QWidget* parent)
    : TextArea(design::ODFont::body(12.5, FontWeight::semibold), parent) {
    setObjectName(u"ReviewLocation"_s);
    setPlaceholderText(u"Add location"_s);
    setAccessibleName(u"Location"_s);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setShowsScrollBar(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        fitHeight();
        emit edited(toPlainText());
    });
    fitHeight();
}

void LocationField::setTextKeepingEdit(const QString& text) {
    if (toPlainText() == text)
        return;
    const QSignalBlocker quiet(this);
    setPlainText(text);
    moveCursor(QTextCursor::End);
    fitHeight();
}

int LocationField::lineCount() const {
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += std::max(1, block.layout() ? block.layout()->lineCount() : 1);
    return std::max(1, lines);
}

void LocationField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A place is one line; Return adds, as it does in the title.
        emit submitted();
        event->accept();
        return;
    }
    TextArea::keyPressEvent(event);
}

void LocationField::resizeEvent(QResizeEvent* event) {
    TextArea::resizeEvent(event);
    fitHeight();
}

void LocationField::fitHeight() {
    const int lines = std::clamp(lineCount(), 1, kMaxLines);
    const int height = lines * fontMetrics().lineSpacing() + static_cast<int>(2 * document()->documentMargin());
    if (height != this->height())
        setFixedHeight(height);
}

// --- Rows ----------------------------------------------------------------------------------------------

ReviewRow::ReviewRow(QWidget* parent)
    : FieldFrame(new QWidget, kRadius, Theme::card(), kPadding, false, parent), m_row(new QHBoxLayout(content())) {
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(10);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

ReviewLocationRow::ReviewLocationRow(QWidget* parent)
    : ReviewRow(parent), m_field(new LocationField(content())), m_found(foundMark(content())) {
    setObjectName(u"ReviewLocationRow"_s);
    auto* pin = new design::SymbolView(u"mappin.and.ellipse"_s, 13, FontWeight::medium, Theme::flame(), content());
    design::setAccessibleRole(pin, QAccessible::NoRole);
    row()->addWidget(pin, 0, Qt::AlignVCenter);
    row()->addWidget(m_field, 1, Qt::AlignVCenter);
    row()->addWidget(m_found, 0, Qt::AlignVCenter);
}

bool ReviewLocationRow::showsFound() const {
    return !m_found->isHidden();
}

void ReviewLocationRow::showLocation(const QString& location, const std::optional<QString>& found) {
    m_field->setTextKeepingEdit(location);
    // The same text however its accents were composed; no trimming, no case folding.
    const auto form = QString::NormalizationForm_C;
    m_found->setVisible(found && found->normalized(form) == location.normalized(form));
}

ReviewMeetingRow::ReviewMeetingRow(QWidget* parent)
    : ReviewRow(parent),
      m_service(new design::TextLine({}, design::ODFont::body(12.5, FontWeight::semibold), Theme::text(), content())),
      m_host(new design::TextLine({}, design::ODFont::body(11.5, FontWeight::regular), Theme::text3(), content())) {
    setObjectName(u"ReviewMeetingRow"_s);
    design::setAccessibleRole(this, QAccessible::StaticText);
    auto* camera = new design::SymbolView(u"video"_s, 12, FontWeight::medium, Theme::sky(), content());
    m_host->setElideMode(Qt::ElideMiddle);
    m_service->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_host->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* found = foundMark(content());
    for (QWidget* piece : std::initializer_list<QWidget*>{camera, m_service, m_host, found})
        design::setAccessibleRole(piece, QAccessible::NoRole);
    row()->addWidget(camera, 0, Qt::AlignVCenter);
    row()->addWidget(m_service, 0, Qt::AlignVCenter);
    row()->addWidget(m_host, 1, Qt::AlignVCenter);
    row()->addSpacing(4);
    row()->addWidget(found, 0, Qt::AlignVCenter);
}

void ReviewMeetingRow::showLink(const model::MeetingLink& link) {
    const QString name = model::displayName(link.provider);
    m_service->setText(name + u" link"_s);
    m_host->setText(link.url.host());
    setAccessibleName(name + u" link found. Added to the event."_s);
}

QString ReviewMeetingRow::service() const {
    return m_service->text();
}

QString ReviewMeetingRow::host() const {
    return m_host->text();
}

}  // namespace imageimport
