#include "editor/MissingEventView.h"

#include "design/values/Theme.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/TextBlock.h"
#include "model/CalendarStoreError.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace editor {

MissingEventView::MissingEventView(QWidget* parent)
    : QWidget(parent),
      m_back(new design::ODButton(u"Back"_s, u"chevron.left"_s, design::ODButtonKind::ghost,
                                  design::ODButtonSize::small, false, this)) {
    setObjectName(u"MissingEventView"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_back);
    row->addStretch(1);
    layout->addLayout(row);

    auto* sentence = new design::TextBlock(message(), design::ODFont::body(13, design::FontWeight::semibold),
                                           design::Theme::text2(), this);
    sentence->setAlignment(Qt::AlignHCenter);
    layout->addSpacing(30);
    layout->addWidget(sentence);
    layout->addSpacing(30);

    connect(m_back, &QAbstractButton::clicked, this, &MissingEventView::backClicked);
}

QString MissingEventView::message() {
    // The same words as the store's refusal to change an event that is gone.
    return model::CalendarStoreError::notFound().errorDescription();
}

}  // namespace editor
