#include "FieldEntries.h"

#include "GalleryParts.h"

#include "design/ODFont.h"
#include "design/ODTextField.h"
#include "design/PlainKeycapButton.h"
#include "design/PlainTextButton.h"
#include "design/SunkenFooter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace gallery::fields {

namespace {

using namespace design;

QVBoxLayout* column(QWidget* page, int spacing) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(spacing);
    return layout;
}

// A control over its caption.
QWidget* captioned(const QString& text, QWidget* control) {
    auto* cell = new QWidget;
    QVBoxLayout* layout = column(cell, 4);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control);
    layout->addWidget(caption(text));
    return cell;
}

ODTextField* lineField(const QString& text, const QString& placeholder, Qt::TextElideMode elision) {
    auto* field = new ODTextField(ODFont::nsBody(15, FontWeight::semibold), ODFont::nsBody(15, FontWeight::medium));
    field->setPlaceholder(placeholder);
    field->setText(text);
    field->setUnfocusedElision(elision);
    field->setCursorPosition(0);
    // A blinking caret would make every picture of the page another: the
    // fields take the focus only when clicked.
    field->setFocusWhenShown(false);
    field->setFocusPolicy(Qt::ClickFocus);
    field->setFixedWidth(260);
    return field;
}

}  // namespace

QWidget* lineFields() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 10);
    const QString placeholder = u"Try: Lunch with Sam tomorrow 1pm 90m /work"_s;
    rows->addWidget(captioned(u"empty: the placeholder"_s, lineField({}, placeholder, Qt::ElideLeft)));
    rows->addWidget(captioned(u"typed"_s, lineField(u"Standup tomorrow 9:30"_s, placeholder, Qt::ElideLeft)));
    rows->addWidget(captioned(u"too long, not edited: its end shows"_s,
                              lineField(u"Quarterly planning with the whole design team tomorrow 9:30 for 2h"_s,
                                        placeholder, Qt::ElideLeft)));
    rows->addWidget(captioned(
        u"too long, not edited: its beginning shows"_s,
        lineField(u"Quarterly planning with the whole design team tomorrow"_s, u"Event title"_s, Qt::ElideRight)));
    return page;
}

QWidget* plainButtons() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 12);
    auto* keys = new QWidget;
    auto* keyRow = new QHBoxLayout(keys);
    keyRow->setContentsMargins(0, 0, 0, 0);
    keyRow->setSpacing(20);
    auto* close = new PlainKeycapButton(u"esc"_s);
    close->setAccessibleName(u"Close"_s);
    keyRow->addWidget(captioned(u"keycap alone"_s, close));
    keyRow->addWidget(captioned(u"keycap and words"_s, new PlainKeycapButton(u"⇥ tab"_s, u"more details"_s)));
    keyRow->addWidget(captioned(u"words alone"_s,
                                new PlainTextButton(u"Skip"_s, ODFont::body(12, FontWeight::bold), Theme::text2())));
    keyRow->addStretch(1);
    rows->addWidget(keys);

    auto* footer = new SunkenFooter(16, 12);
    footer->row()->addWidget(new PlainKeycapButton(u"⇥ tab"_s, u"more details"_s, footer));
    footer->row()->addStretch(1);
    footer->row()->addWidget(
        new PlainTextButton(u"Skip"_s, ODFont::body(12, FontWeight::bold), Theme::text2(), footer));
    footer->setFixedWidth(320);
    rows->addWidget(captioned(u"sunken footer"_s, footer));
    return page;
}

}  // namespace gallery::fields
