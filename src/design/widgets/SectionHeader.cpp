#include "design/widgets/SectionHeader.h"

#include "design/widgets/ODFont.h"
#include "design/widgets/TextLine.h"

#include <QHBoxLayout>

namespace design {

namespace {

QFont trailingFont() {
    return ODFont::body(11, FontWeight::medium);
}

}  // namespace

SectionHeader::SectionHeader(const QString& title, QWidget* parent)
    : QWidget(parent),
      m_layout(new QHBoxLayout(this)),
      m_title(new TextLine(title.toUpper(), ODFont::body(11, FontWeight::bold), Theme::text(), this)) {
    m_title->setTracking(0.8);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_title, 0, Qt::AlignBottom);
    m_layout->addSpacing(kMinimumGap);
    m_layout->addStretch(1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void SectionHeader::setTitle(const QString& title) {
    m_title->setText(title.toUpper());
}

QString SectionHeader::title() const {
    return m_title->text();
}

void SectionHeader::setTrailingText(const QString& text) {
    setTrailing(new TextLine(text, trailingFont(), Theme::text3()));
}

void SectionHeader::setTrailing(QWidget* trailing) {
    delete m_trailing;
    m_trailing = trailing;
    if (trailing == nullptr)
        return;
    trailing->setFont(trailingFont());
    if (auto* text = qobject_cast<TextLine*>(trailing))
        text->setColor(Theme::text3());
    // Both lines are 11 pixels high, so bottom alignment keeps one baseline.
    m_layout->addWidget(trailing, 0, Qt::AlignBottom);
}

}  // namespace design
