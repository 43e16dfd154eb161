#include "editor/EditorRows.h"

#include "design/values/Theme.h"
#include "design/widgets/FormIconTile.h"
#include "design/widgets/JoinButton.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/SymbolButton.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/TextField.h"
#include "editor/EventEditorModel.h"
#include "state/PlatformWords.h"
#include "state/PopoverActions.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QTextDocument>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace editor {

using design::FontWeight;
using design::Theme;

namespace {

constexpr qreal kFieldTextSize = 13;
constexpr int kNotesLines = 3;
constexpr int kNotesPadding = 6;

QHBoxLayout* row(QWidget* owner, int spacing) {
    auto* layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QFont fieldFont() {
    return design::ODFont::nsBody(kFieldTextSize, FontWeight::medium);
}

// Shows the model's text unless the field already holds it: replacing it would
// move the caret of an edit under way.
void showText(design::TextField* field, const QString& text) {
    if (field->text() == text)
        return;
    field->setText(text);
    // A long link or place shows its beginning until the user goes into it.
    if (!field->hasFocus())
        field->setCursorPosition(0);
}

}  // namespace

QWidget* formRow(const QString& symbol, QWidget* content, QWidget* parent) {
    auto* rowWidget = new QWidget(parent);
    QHBoxLayout* layout = row(rowWidget, kFormRowSpacing);
    layout->addWidget(new design::FormIconTile(symbol, Theme::text2(), rowWidget));
    layout->addWidget(content, 1);
    return rowWidget;
}

int formRowContentLeft() {
    return design::FormIconTile::kSide + kFormRowSpacing;
}

// --- Title -------------------------------------------------------------------------------------

TitleField::TitleField(EventEditorModel& model, QWidget* parent)
    : design::FieldFrame(nullptr, kCornerRadius, Theme::card(), QMargins(12, 11, 12, 11), false, parent),
      m_model(model),
      m_field(new design::TextField(design::ODFont::display(20), u"Event title"_s, this)) {
    m_field->setObjectName(u"EditorTitle"_s);
    m_field->setAccessibleName(u"Title"_s);
    layout()->addWidget(m_field);
    m_field->setText(model.draft().title);
    m_field->setEnabled(!model.readOnly());

    connect(m_field, &QLineEdit::textEdited, &model, &EventEditorModel::setTitle);
    connect(m_field, &design::TextField::submitted, &model, &EventEditorModel::save);
    connect(m_field, &design::TextField::focusChanged, &model, &EventEditorModel::setTitleFocused);
    connect(&model, &EventEditorModel::draftChanged, this, [this] { showText(m_field, m_model.draft().title); });
    const auto followFocus = [this] {
        const bool focused = m_model.titleFocused();
        setFocused(focused);
        if (focused && !m_field->hasFocus() && m_field->isEnabled())
            m_field->setFocus(Qt::OtherFocusReason);
        else if (!focused && m_field->hasFocus())
            m_field->clearFocus();
    };
    connect(&model, &EventEditorModel::titleFocusedChanged, this, followFocus);
    followFocus();
}

// --- Location ----------------------------------------------------------------------------------

LocationRow::LocationRow(EventEditorModel& model, platform::Workspace& workspace, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_field(new design::TextField(fieldFont(), u"Add location"_s)),
      m_map(new design::SymbolButton(u"arrow.up.right"_s, 10, FontWeight::bold, Theme::sky(),
                                     app::words::openInMap())) {
    m_field->setAccessibleName(u"Location"_s);
    m_field->setEnabled(!model.readOnly());
    auto* inside = new QWidget;
    QHBoxLayout* parts = row(inside, 6);
    parts->addWidget(m_field, 1);
    parts->addWidget(m_map);
    m_field->setParent(inside);
    m_map->setParent(inside);
    row(this, 0)->addWidget(design::fieldBox(inside, false, Theme::card()));

    connect(m_field, &QLineEdit::textEdited, &model, &EventEditorModel::setLocation);
    connect(m_map, &QAbstractButton::clicked, this, [this, &workspace] {
        popover::PopoverActions::openMaps(m_model.draft().location.value_or(QString()), workspace);
    });
    connect(&model, &EventEditorModel::draftChanged, this, &LocationRow::refresh);
    refresh();
}

void LocationRow::refresh() {
    showText(m_field, m_model.draft().location.value_or(QString()));
    m_map->setVisible(m_model.canShowLocationOnMap());
}

// --- Video link --------------------------------------------------------------------------------

VideoRow::VideoRow(EventEditorModel& model, platform::Workspace& workspace, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_field(new design::TextField(fieldFont(), u"Add video link"_s)),
      m_mark(new design::SymbolView(u"video.fill"_s, 11, FontWeight::regular, Theme::sky())),
      m_join(new design::ODButton(u"Join"_s, u"video"_s, design::ODButtonKind::secondary,
                                  design::ODButtonSize::medium)) {
    m_field->setAccessibleName(u"Video link"_s);
    m_field->setEnabled(!model.readOnly());
    auto* inside = new QWidget;
    QHBoxLayout* parts = row(inside, 6);
    parts->addWidget(m_mark);
    parts->addWidget(m_field, 1);
    m_mark->setParent(inside);
    m_field->setParent(inside);
    QHBoxLayout* layout = row(this, 8);
    layout->addWidget(design::fieldBox(inside, false, Theme::card()), 1);
    layout->addWidget(m_join);
    m_join->setParent(this);

    connect(m_field, &QLineEdit::textEdited, &model, &EventEditorModel::setURLText);
    connect(m_join, &QAbstractButton::clicked, this, [this, &workspace] {
        if (const auto link = m_model.meeting())
            popover::JoinButton::join(*link, workspace);
    });
    connect(&model, &EventEditorModel::urlTextChanged, this, &VideoRow::refresh);
    // The place and the notes may hold the meeting link too.
    connect(&model, &EventEditorModel::draftChanged, this, &VideoRow::refresh);
    refresh();
}

void VideoRow::refresh() {
    showText(m_field, m_model.urlText());
    const std::optional<model::MeetingLink> meeting = m_model.meeting();
    m_mark->setVisible(meeting.has_value());
    m_join->setVisible(meeting.has_value());
    const QString help = meeting ? u"Join "_s + model::displayName(meeting->provider) : QString();
    m_join->setToolTip(design::plainToolTip(help));
}

// --- Notes -------------------------------------------------------------------------------------

NotesField::NotesField(EventEditorModel& model, QWidget* parent)
    : design::FieldBox(nullptr, Theme::card(), false, parent),
      m_model(model),
      m_editor(new design::TextArea(design::ODFont::nsBody(kFieldTextSize), this)) {
    m_editor->setAccessibleName(u"Notes"_s);
    m_editor->setPlaceholderText(u"Add notes"_s);
    m_editor->setEnabled(!model.readOnly());
    m_editor->setTabChangesFocus(true);
    // Three lines high, whatever the notes hold: more scroll inside.
    m_editor->setVerticalPadding(kNotesPadding);
    const qreal lines = QFontMetricsF(m_editor->font()).lineSpacing() * kNotesLines;
    m_editor->setFixedHeight(static_cast<int>(std::ceil(lines)) + 2 * kNotesPadding);
    layout()->addWidget(m_editor);

    connect(m_editor, &QPlainTextEdit::textChanged, this, &NotesField::takeEdit);
    connect(&model, &EventEditorModel::draftChanged, this, &NotesField::refresh);
    refresh();
}

bool NotesField::showsPlaceholder() const {
    return m_editor->toPlainText().isEmpty();
}

void NotesField::refresh() {
    const QString notes = m_model.draft().notes.value_or(QString());
    if (notes != m_filledFrom && notes != shownText())
        fill(notes);
}

void NotesField::fill(const QString& notes) {
    const QScopedValueRollback filling(m_filling, true);
    m_editor->setPlainText(notes);
    m_filledFrom = notes;
    m_shownAs = shownText();
}

QString NotesField::shownText() const {
    // toPlainText() would turn no-break spaces into spaces.
    QString text = m_editor->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

void NotesField::takeEdit() {
    if (m_filling)
        return;
    const QString text = shownText();
    m_model.setNotes(text == m_shownAs ? m_filledFrom : text);
}

}  // namespace editor
