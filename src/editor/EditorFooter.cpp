#include "editor/EditorFooter.h"

#include "design/values/Theme.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace editor {

using design::ODButtonKind;
using design::ODButtonSize;
using design::Theme;

EditorFooter::EditorFooter(bool readOnly, bool existingEvent, QWidget* parent)
    : QWidget(parent),
      m_error(new design::TextBlock(QString(), design::ODFont::body(11, design::FontWeight::medium), Theme::flame())) {
    setObjectName(u"EditorFooter"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new design::Hairline(Qt::Horizontal, this));

    m_errorRow = new QWidget(this);
    auto* errorRow = new QVBoxLayout(m_errorRow);
    errorRow->setContentsMargins(16, 8, 16, 0);
    errorRow->addWidget(m_error);
    layout->addWidget(m_errorRow);
    m_errorRow->hide();

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 12, 16, 12);
    buttons->setSpacing(8);
    layout->addLayout(buttons);

    if (readOnly) {
        buttons->addWidget(new design::TextLine(u"Read-only calendar"_s,
                                                design::ODFont::body(11, design::FontWeight::medium), Theme::text3(),
                                                this));
        buttons->addStretch(1);
        m_close = new design::ODButton(u"Close"_s, std::nullopt, ODButtonKind::ghost, ODButtonSize::medium, false, this);
        buttons->addWidget(m_close);
        connect(m_close, &QAbstractButton::clicked, this, &EditorFooter::closeRequested);
        return;
    }
    if (existingEvent) {
        m_delete = new design::ODButton(u"Delete"_s, u"trash"_s, ODButtonKind::danger, ODButtonSize::medium, false, this);
        buttons->addWidget(m_delete);
        connect(m_delete, &QAbstractButton::clicked, this, &EditorFooter::deleteRequested);
    }
    buttons->addStretch(1);
    m_cancel = new design::ODButton(u"Cancel"_s, std::nullopt, ODButtonKind::ghost, ODButtonSize::medium, false, this);
    m_save = new design::KeycapButton(existingEvent ? u"Save"_s : u"Add event"_s, std::nullopt, u"↩"_s,
                                      ODButtonKind::primary, ODButtonSize::medium, false, this);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_save);
    connect(m_cancel, &QAbstractButton::clicked, this, &EditorFooter::closeRequested);
    connect(m_save, &QAbstractButton::clicked, this, &EditorFooter::saveRequested);
    // The Return of the keycap with Ctrl, so that Return stays the text fields' own.
    for (const QKeyCombination keys : {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(keys), m_save);
        connect(shortcut, &QShortcut::activated, m_save, &QAbstractButton::click);
    }
}

void EditorFooter::setError(const std::optional<QString>& error) {
    m_error->setText(error.value_or(QString()));
    m_errorRow->setVisible(error.has_value());
}

bool EditorFooter::showsError() const {
    return !m_errorRow->isHidden();
}

void EditorFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), design::toQColor(Theme::surfaceSunk()));
}

}  // namespace editor
