#include "quickadd/QuickInputField.h"

#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"

#include <QInputMethodEvent>
#include <QTextCharFormat>

using namespace Qt::Literals::StringLiterals;

namespace quickadd {

namespace {

constexpr float kBackgroundAlpha = 0.14f;

}  // namespace

QuickInputField::QuickInputField(QWidget* parent)
    : ODTextField(design::ODFont::nsBody(15, design::FontWeight::semibold),
                  design::ODFont::nsBody(15, design::FontWeight::medium), parent) {
    setUnfocusedElision(Qt::ElideLeft);
    setAccessibleName(u"New event"_s);
    setAccessibleDescription(
        u"Describe the event, for example: Lunch with Sam tomorrow 1pm. Return adds it, Tab opens more details."_s);
}

void QuickInputField::setHighlights(const QString& text, const std::vector<QuickCreateModel::Highlight>& highlights) {
    m_applied.clear();
    if (text == this->text()) {
        for (const QuickCreateModel::Highlight& highlight : highlights) {
            if (highlight.range.isValid() && highlight.range.end() <= text.size())
                m_applied.push_back(highlight);
        }
    }
    applyFormats();
}

void QuickInputField::applyFormats() {
    // A line edit colours ranges of its text only as an input method's
    // formatting, given relative to the caret; the text stays as it is.
    QList<QInputMethodEvent::Attribute> attributes;
    const int caret = cursorPosition();
    for (const QuickCreateModel::Highlight& highlight : m_applied) {
        QTextCharFormat format;
        const QColor color = design::toQColor(highlight.color);
        QColor background = color;
        background.setAlphaF(kBackgroundAlpha);
        format.setForeground(color);
        format.setBackground(background);
        attributes.append(QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                       static_cast<int>(highlight.range.location) - caret,
                                                       static_cast<int>(highlight.range.length), format));
    }
    QInputMethodEvent event(QString(), attributes);
    inputMethodEvent(&event);
}

}  // namespace quickadd
