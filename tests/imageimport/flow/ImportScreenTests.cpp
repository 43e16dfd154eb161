#include "imageimport/flow/ImageDropTarget.h"
#include "imageimport/flow/ImageDropZone.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/flow/ImageImportView.h"
#include "imageimport/flow/ImportHeader.h"
#include "imageimport/flow/ImportMessageCard.h"
#include "imageimport/flow/ImportReadingCard.h"
#include "imageimport/review/ImageReviewView.h"
#include "imageimport/review/ReviewEventFields.h"
#include "imageimport/review/ReviewPlaceRows.h"

#include "design/values/Theme.h"
#include "design/widgets/ODTextField.h"
#include "platform/images/FakeImageLoader.h"
#include "platform/textrecognition/FakeTextRecognizer.h"
#include "platform/workspace/FakeClipboardReader.h"

#include "AnimationClock.h"
#include "EventLoop.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>
#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

#include <deque>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;
using app::PopoverRoute;
using platform::AuthorizationStatus;
using Kind = ImageImportSession::Phase::Kind;

namespace {

constexpr int kWidth = 364;

// The import screen over fakes: the session's jobs wait until the test runs them.
class ImportScreen : public ::testing::Test {
protected:
    ImportScreen() {
        env.setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::FullAccess);
        session().setRunner([this](std::function<void()> job) { jobs.push_back(std::move(job)); });
        session().setReading({&loader, &recognizer, nullptr});
        loader.add("png", platform::ImageLoader::Format::image, {40, 30, QByteArray(40 * 30 * 4, '\x60')});
    }
    ~ImportScreen() override { design::Theme::setAppearance(saved); }

    ImageImportSession& session() { return env.appState.imageImport(); }
    void runJobs() {
        while (!jobs.empty()) {
            auto job = std::move(jobs.front());
            jobs.pop_front();
            job();
        }
        QCoreApplication::processEvents();
    }
    void setReduceMotion(bool on) {
        design::Appearance appearance = design::Theme::appearance();
        appearance.reduceMotion = on;
        design::Theme::setAppearance(appearance);
    }

    const design::Appearance saved = design::Theme::appearance();
    testsupport::ScreenEnvironment env{storetest::local(2026, 3, 10, 9, 0)};
    platform::FakeImageLoader loader;
    platform::FakeTextRecognizer recognizer;
    std::deque<std::function<void()>> jobs;
};

TEST_F(ImportScreen, ThePhaseAloneDecidesTheCard) {
    ImageImportView view(env.environment);
    auto* start = qobject_cast<ImportMessageCard*>(view.content());
    ASSERT_TRUE(start);
    EXPECT_EQ(start->content().title, u"New from image"_s);

    session().begin(ImageImportInput::data("png"));
    auto* reading = qobject_cast<ImportReadingCard*>(view.content());
    ASSERT_TRUE(reading);
    env.clock.advance(ImageImportSession::kReadingDelay);
    EXPECT_EQ(view.content(), reading) << "the same card from preparing to reading";

    recognizer.setResult(std::vector<platform::TextPiece>{});
    runJobs();
    auto* noText = qobject_cast<ImportMessageCard*>(view.content());
    ASSERT_TRUE(noText);
    EXPECT_EQ(noText->content().title, u"No text found"_s);

    session().begin(ImageImportInput::unsupported(u"letter.docx"_s));
    auto* failed = qobject_cast<ImportMessageCard*>(view.content());
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->content().title, u"Only images can be dropped here"_s);
    // Cancel leads back to the main screen.
    failed->secondaryButton()->click();
    EXPECT_EQ(env.appState.route(), PopoverRoute::main());
}

// Keys typed into the popover's window, where the window system puts them.
class KeysOnImportScreen : public ImportScreen {
protected:
    KeysOnImportScreen() {
        env.appState.setRoute(PopoverRoute::imageImport());
        session().setFileChooser([this] {
            ++chooserShown;
            return std::optional<QUrl>();
        });
        panel.resize(kWidth, 420);
        new QVBoxLayout(&panel);
        panel.layout()->addWidget(view);
        panel.show();
        panel.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&panel));
    }

    void press(Qt::Key key) {
        QTest::keyClick(panel.windowHandle(), key);
        QCoreApplication::processEvents();
    }
    ImportMessageCard* card() const { return qobject_cast<ImportMessageCard*>(view->content()); }

    QWidget panel;
    ImageImportView* view = new ImageImportView(env.environment, &panel);
    int chooserShown = 0;
};

TEST_F(KeysOnImportScreen, ReturnPressesTheCardsPrimaryButtonWhereverTheFocusIs) {
    ASSERT_TRUE(card());
    EXPECT_EQ(QApplication::focusWidget(), card()->primaryButton());
    press(Qt::Key_Return);
    EXPECT_EQ(chooserShown, 1) << "the start card's Choose image";
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport());

    // Tab goes round the card's buttons; the header's esc key is the pointer's only.
    QWidget* esc = view->findChild<ImportHeader*>()->closeButton();
    for (int step = 0; step < 3; ++step) {
        press(Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), esc);
    }
    card()->secondaryButton()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    EXPECT_EQ(chooserShown, 2) << "Return is the primary button's, not the focused Cancel's";
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport());

    recognizer.setResult(std::vector<platform::TextPiece>{});
    session().begin(ImageImportInput::data("png"));
    runJobs();
    ASSERT_EQ(card()->content().title, u"No text found"_s);
    press(Qt::Key_Enter);
    EXPECT_EQ(chooserShown, 3) << "the no-text card's Try another image";

    // An image opened from outside fails while nothing in the popover has the focus.
    QApplication::focusWidget()->clearFocus();
    session().begin(ImageImportInput::unsupported(u"letter.docx"_s));
    ASSERT_TRUE(card());
    press(Qt::Key_Return);
    EXPECT_EQ(chooserShown, 4) << "the failure card's Try another image";
    EXPECT_EQ(QApplication::focusWidget(), card()->primaryButton());

    // The reading card has no button for Return: the import goes on.
    session().begin(ImageImportInput::data("png"));
    ASSERT_TRUE(qobject_cast<ImportReadingCard*>(view->content()));
    press(Qt::Key_Return);
    EXPECT_EQ(session().phase().kind, Kind::preparing);
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport());
    EXPECT_EQ(chooserShown, 4);
}

TEST_F(KeysOnImportScreen, TheKeyboardsFocusOnTheStartCardIsRingedInBothAppearances) {
    ASSERT_EQ(testsupport::missingFontFamilies(), QStringList());
    setReduceMotion(true);
    // Round the card once: Cancel, then back on the button Return presses.
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), card()->primaryButton());
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(*view, kWidth, dark, u"import-start-keyboard-focus"_s));
}

TEST_F(ImportScreen, LeavingTheScreenCancelsWhatIsStillBeingRead) {
    auto view = std::make_unique<ImageImportView>(env.environment);
    session().begin(ImageImportInput::data("png"));
    view.reset();
    EXPECT_EQ(session().phase().kind, Kind::idle);
    runJobs();
    EXPECT_EQ(session().phase().kind, Kind::idle);
    EXPECT_FALSE(session().thumbnail());

    // As the popover closes for good, the screen goes down with the windows around it:
    // the cancelled read must not make a card in a parent that is being taken apart.
    auto window = std::make_unique<QWidget>();
    auto* inWindow = new ImageImportView(env.environment, window.get());
    window->show();
    inWindow->setFocus();
    session().begin(ImageImportInput::data("png"));
    window.reset();
    EXPECT_EQ(session().phase().kind, Kind::idle);
}

TEST_F(ImportScreen, ResultsShowTheirReviewAndEachNewResultANewOne) {
    recognizer.setResult(std::vector<platform::TextPiece>{{u"Team offsite"_s, QRectF(0.1, 0.8, 0.5, 0.05)}});
    ImageImportView view(env.environment);
    session().begin(ImageImportInput::data("png"));
    runJobs();
    QWidget* first = view.content();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->objectName(), u"ImportReview"_s);
    session().begin(ImageImportInput::data("png"));
    runJobs();
    EXPECT_NE(view.content(), first);
}

TEST_F(ImportScreen, TheReadingCardHoldsStillUnderReducedMotion) {
    setReduceMotion(true);
    ImportReadingCard still;
    still.setThumbnail(platform::LoadedImage{40, 100, QByteArray(40 * 100 * 4, '\x60')});
    still.resize(kWidth, still.sizeHint().height());
    still.show();
    EXPECT_FALSE(still.isMoving());
    EXPECT_EQ(still.barWidth(), 120);
    EXPECT_NEAR(still.scanLineY(), still.thumbnailRect().top() + 0.15 * still.thumbnailRect().height(), 1e-9);
    // A tall image is held to 190 pixels, keeping its shape.
    EXPECT_EQ(still.thumbnailRect().size(), QSizeF(76, 190));

    setReduceMotion(false);
    ImportReadingCard moving;
    moving.show();
    EXPECT_TRUE(moving.isMoving());
}

// Drags over the popover, as the window system delivers them: Qt itself picks the
// widget under the pointer that takes the drag.
class DropOnPopover : public ImportScreen {
protected:
    DropOnPopover() {
        root.resize(kWidth, 600);
        auto* layout = new QVBoxLayout(&root);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        layout->addStretch(1);
        root.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&root));
        target.announce = [this](const QString& text) { announced << text; };
    }
    ~DropOnPopover() override { leave(); }

    static constexpr Qt::DropActions kOffered = Qt::CopyAction | Qt::MoveAction;

    // Enters the popover (or moves on in it) at `at`: whether a drop there is taken.
    bool dragTo(const QMimeData& mime, QPoint at = QPoint(100, 100)) {
        return QWindowSystemInterface::handleDrag(root.windowHandle(), &mime, at, kOffered, Qt::LeftButton,
                                                  Qt::NoModifier)
            .isAccepted();
    }
    void dragIn(const QMimeData& mime, QPoint at = QPoint(100, 100)) {
        dragTo(mime, at);
        moveAccepted = dragTo(mime, at + QPoint(2, 1));
    }
    bool drop(const QMimeData& mime, QPoint at = QPoint(102, 101)) {
        const bool taken = QWindowSystemInterface::handleDrop(root.windowHandle(), &mime, at, kOffered,
                                                              Qt::LeftButton, Qt::NoModifier)
                               .isAccepted();
        QCoreApplication::processEvents();
        return taken;
    }
    void leave() {
        QWindowSystemInterface::handleDrag(root.windowHandle(), nullptr, QPoint(), Qt::IgnoreAction, Qt::NoButton,
                                           Qt::NoModifier);
        QCoreApplication::processEvents();
    }
    // The middle of a widget of the popover, where a drag over it stands.
    QPoint middleOf(const QWidget* widget) const { return widget->mapTo(&root, widget->rect().center()); }

    QWidget root;
    ImageImportView* view = new ImageImportView(env.environment, &root);
    ImageDropTarget target{env.environment, &root};
    QStringList announced;
    bool moveAccepted = false;
};

TEST_F(DropOnPopover, AnImageFileOrImageBytesShowTheAcceptingZoneAndStartAnImport) {
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(u"/home/u/ticket.png"_s), QUrl::fromLocalFile(u"/home/u/b.png"_s)});
    dragIn(file);
    EXPECT_TRUE(moveAccepted);
    ASSERT_TRUE(target.zone()->isShown());
    EXPECT_TRUE(target.zone()->accepts());
    EXPECT_EQ(announced, QStringList{u"Drop image to create an event"_s});
    EXPECT_TRUE(drop(file));
    EXPECT_FALSE(target.zone()->isShown());
    EXPECT_EQ(session().phase().kind, Kind::preparing);

    QMimeData bytes;
    bytes.setData(u"image/png"_s, "png");
    dragIn(bytes);
    EXPECT_TRUE(target.zone()->accepts());
    EXPECT_TRUE(drop(bytes));
    runJobs();
    EXPECT_EQ(session().thumbnail()->width, 40);
}

TEST_F(DropOnPopover, AnImageDraggedInGetsItsReadingReadyBeforeItIsDropped) {
    QMimeData letter;
    letter.setUrls({QUrl::fromLocalFile(u"/home/u/letter.docx"_s)});
    dragIn(letter);
    leave();
    runJobs();
    EXPECT_EQ(recognizer.preparations(), 0);

    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(u"/home/u/ticket.png"_s)});
    dragIn(file);
    runJobs();
    EXPECT_EQ(recognizer.preparations(), 1);
}

TEST_F(DropOnPopover, ADocumentShowsTheRefusingZoneAndItsDropDoesNothing) {
    QMimeData letter;
    letter.setUrls({QUrl::fromLocalFile(u"/home/u/letter.docx"_s)});
    dragIn(letter);
    EXPECT_FALSE(moveAccepted) << "the forbidden operation";
    ASSERT_TRUE(target.zone()->isShown());
    EXPECT_FALSE(target.zone()->accepts());
    EXPECT_EQ(announced, QStringList{u"Only images can be dropped here"_s});
    EXPECT_FALSE(drop(letter));
    EXPECT_FALSE(target.zone()->isShown());
    EXPECT_EQ(session().phase().kind, Kind::idle);

    // Leaving takes the zone away.
    dragIn(letter);
    leave();
    EXPECT_FALSE(target.zone()->isShown());
}

// Any program can put such an address on the clipboard or in a drag: its %00 decodes
// to NUL characters in the path.
const QUrl kCraftedAddress(u"file:///tmp/a%00%00.d"_s);
const auto kUnreadable = ImageImportSession::Phase::failed(ImageImportError::unreadable());

TEST_F(DropOnPopover, AnAddressWithNulCharactersIsTakenAndFailsAsUnreadable) {
    QMimeData crafted;
    crafted.setData(u"text/uri-list"_s, kCraftedAddress.toEncoded() + "\r\n");
    dragIn(crafted);
    EXPECT_TRUE(target.zone()->isVisible());
    EXPECT_TRUE(drop(crafted));
    runJobs();
    EXPECT_EQ(session().phase(), kUnreadable);
}

TEST_F(DropOnPopover, NothingIsTakenWhileCalendarAccessIsDeniedOrOnTheAccessScreens) {
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(u"/home/u/ticket.png"_s)});
    env.setAccess(AuthorizationStatus::Denied, AuthorizationStatus::FullAccess);
    dragIn(file);
    EXPECT_FALSE(moveAccepted);
    EXPECT_FALSE(target.zone()->isShown());
    EXPECT_TRUE(announced.isEmpty());
    leave();

    env.setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::FullAccess);
    env.appState.setRoute(PopoverRoute::onboarding());
    dragIn(file);
    EXPECT_FALSE(moveAccepted);
    leave();
    // Over the editor a drop is taken.
    env.appState.setRoute(PopoverRoute::eventCreate(core::Date(0)));
    dragIn(file);
    EXPECT_TRUE(moveAccepted);
}

TEST_F(DropOnPopover, AnImageOverTheReviewsTextFieldsIsImportedAndTextStaysTheFields) {
    recognizer.setResult(std::vector<platform::TextPiece>{{u"Team offsite"_s, QRectF(0.1, 0.8, 0.5, 0.05)}});
    session().begin(ImageImportInput::data("png"));
    runJobs();
    ASSERT_EQ(session().phase().kind, Kind::review);
    auto* review = qobject_cast<ImageReviewView*>(view->content());
    ASSERT_NE(review, nullptr);
    root.resize(kWidth, review->sizeHint().height());
    QCoreApplication::processEvents();
    const QPoint title = middleOf(review->titleField());
    const QPoint place = middleOf(review->eventFields()->locationRow()->field());
    const QUuid reviewed = session().resultID();

    // A file from the file manager carries its path as text as well.
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(u"/home/u/flyer.png"_s)});
    file.setText(u"/home/u/flyer.png"_s);
    for (const QPoint at : {title, place}) {
        dragIn(file, at);
        EXPECT_TRUE(moveAccepted);
        EXPECT_TRUE(target.zone()->isShown());
        EXPECT_TRUE(target.zone()->accepts());
    }
    EXPECT_EQ(announced.size(), 1) << "one drag over several widgets is announced once";
    EXPECT_TRUE(drop(file, place));
    EXPECT_FALSE(target.zone()->isShown());
    EXPECT_EQ(session().phase().kind, Kind::preparing) << "the image dropped on the place is imported";

    // Dragged text goes into the field, with no zone over it.
    session().begin(ImageImportInput::data("png"));
    runJobs();
    ASSERT_EQ(session().phase().kind, Kind::review);
    EXPECT_NE(session().resultID(), reviewed);
    review = qobject_cast<ImageReviewView*>(view->content());
    ASSERT_NE(review, nullptr);
    root.resize(kWidth, review->sizeHint().height() + 1);
    QCoreApplication::processEvents();
    QMimeData words;
    words.setText(u"Boardroom"_s);
    const QPoint field = middleOf(review->eventFields()->locationRow()->field());
    dragIn(words, field);
    EXPECT_TRUE(moveAccepted);
    EXPECT_FALSE(target.zone()->isShown());
    EXPECT_TRUE(drop(words, field + QPoint(2, 1)));
    EXPECT_TRUE(review->eventFields()->locationRow()->field()->toPlainText().contains(u"Boardroom"_s));
    EXPECT_EQ(session().phase().kind, Kind::review);
}

TEST_F(DropOnPopover, TheZoneFadesInAndOutAndReadsAsOneLabelledElement) {
    testsupport::AnimationClock clock;
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(u"/home/u/ticket.png"_s)});
    ImageDropZone& zone = *target.zone();
    dragIn(file);
    ASSERT_TRUE(zone.isVisible());
    clock.advance(ImageDropZone::kFadeMs / 2);
    EXPECT_GT(zone.presence(), 0);
    EXPECT_LT(zone.presence(), 1);
    clock.advance(ImageDropZone::kFadeMs);
    EXPECT_EQ(zone.presence(), 1);
    QAccessibleInterface* element = QAccessible::queryAccessibleInterface(&zone);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->role(), QAccessible::StaticText);
    EXPECT_EQ(element->text(QAccessible::Name), u"Drop image to create an event"_s);
    EXPECT_EQ(element->childCount(), 0);

    leave();
    EXPECT_TRUE(zone.isVisible()) << "still fading out";
    clock.advance(2 * ImageDropZone::kFadeMs);
    EXPECT_FALSE(zone.isVisible());

    setReduceMotion(true);
    QMimeData letter;
    letter.setUrls({QUrl::fromLocalFile(u"/home/u/letter.docx"_s)});
    dragIn(letter);
    EXPECT_TRUE(zone.isVisible());
    EXPECT_EQ(zone.presence(), 1) << "at once";
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&zone)->text(QAccessible::Name),
              u"Only images can be dropped here"_s);
    leave();
    EXPECT_FALSE(zone.isVisible());
}

// Ctrl+V in a panel of the popover.
class PasteInPopover : public ImportScreen {
protected:
    PasteInPopover() {
        panel.resize(kWidth, 200);
        field = new QLineEdit(&panel);
        new QVBoxLayout(&panel);
        panel.layout()->addWidget(field);
        panel.show();
        panel.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&panel));
    }
    ~PasteInPopover() override { QGuiApplication::clipboard()->clear(); }

    void pasteKey(QWidget* target, bool autoRepeat = false) {
        QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_V, Qt::ControlModifier, u"v"_s, autoRepeat);
        QApplication::sendEvent(target, &override);
        if (override.isAccepted() && !QApplication::sendEvent(target, &override))
            return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, u"v"_s, autoRepeat);
        QApplication::sendEvent(target, &press);
    }
    static void offer(std::initializer_list<std::pair<QString, QByteArray>> formats) {
        auto* mime = new QMimeData;
        for (const auto& [format, bytes] : formats)
            mime->setData(format, bytes);
        QGuiApplication::clipboard()->setMimeData(mime);
    }

    QWidget panel;
    QLineEdit* field;
    ImagePasteKey key{env.environment, &panel};
};

TEST_F(PasteInPopover, AnImageOnTheClipboardIsImportedAndARepeatedPressIgnored) {
    offer({{u"image/png"_s, "png"}});
    panel.setFocus();
    pasteKey(&panel);
    EXPECT_EQ(session().phase().kind, Kind::preparing);
    const auto token = session().token();
    pasteKey(&panel, true);
    EXPECT_EQ(session().token(), token) << "a held key starts no second import";
    runJobs();
    EXPECT_EQ(session().thumbnail()->width, 40);

    // Into a field with only an image on the clipboard, the image is still imported.
    session().cancel();
    field->setFocus();
    pasteKey(field);
    EXPECT_EQ(session().phase().kind, Kind::preparing);
}

TEST_F(PasteInPopover, AnAddressWithNulCharactersIsTakenAndFailsAsUnreadable) {
    offer({{u"text/uri-list"_s, kCraftedAddress.toEncoded() + "\r\n"}});
    panel.setFocus();
    pasteKey(&panel);
    runJobs();
    EXPECT_EQ(session().phase(), kUnreadable);
}

TEST_F(PasteInPopover, WhereTheClipboardCanBeReadElsewhereTheImportReadsTheImageBytes) {
    platform::FakeClipboardReader reader;
    reader.offer(u"image/png"_s, "png");
    session().setReading({&loader, &recognizer, nullptr, &reader});
    offer({{u"image/png"_s, "not these"}});
    panel.setFocus();
    pasteKey(&panel);
    EXPECT_EQ(session().phase().kind, Kind::preparing);
    EXPECT_EQ(reader.reads(), 0);
    runJobs();
    EXPECT_EQ(reader.reads(), 1);
    ASSERT_TRUE(session().thumbnail());
    EXPECT_EQ(session().thumbnail()->width, 40);
}

TEST_F(PasteInPopover, TextGoesIntoTheFieldAndTextAloneIsAnOrdinaryPaste) {
    offer({{u"image/png"_s, "png"}, {u"text/plain"_s, "Lunch"}});
    field->setFocus();
    pasteKey(field);
    EXPECT_EQ(session().phase().kind, Kind::idle);
    EXPECT_EQ(field->text(), u"Lunch"_s);

    offer({{u"text/plain"_s, "Dinner"}});
    panel.setFocus();
    pasteKey(&panel);
    EXPECT_EQ(session().phase().kind, Kind::idle);

    // Over the editor the key is not the import's.
    offer({{u"image/png"_s, "png"}});
    env.appState.setRoute(PopoverRoute::eventCreate(core::Date(0)));
    pasteKey(&panel);
    EXPECT_EQ(session().phase().kind, Kind::idle);
}

class ImportScreenPictures : public ImportScreen, public ::testing::WithParamInterface<bool> {};

TEST_P(ImportScreenPictures, EachCardAndTheDropZoneInBothAppearances) {
    ASSERT_EQ(testsupport::missingFontFamilies(), QStringList());
    const bool dark = GetParam();
    setReduceMotion(true);
    ImageImportView view(env.environment);
    EXPECT_TRUE(testsupport::rendersAsReference(view, kWidth, dark, u"import-start"_s));

    session().begin(ImageImportInput::data("png"));
    runJobs();
    EXPECT_TRUE(testsupport::rendersAsReference(view, kWidth, dark, u"import-no-text"_s));
    session().begin(ImageImportInput::unsupported());
    EXPECT_TRUE(testsupport::rendersAsReference(view, kWidth, dark, u"import-not-an-image"_s));

    ImportReadingCard reading;
    QImage photo(320, 200, QImage::Format_ARGB32_Premultiplied);
    photo.fill(QColor(0x4a, 0x78, 0xa8));
    reading.setThumbnail(platform::LoadedImage{320, 200, QByteArray(reinterpret_cast<const char*>(photo.constBits()),
                                                                    photo.sizeInBytes())});
    EXPECT_TRUE(testsupport::rendersAsReference(reading, kWidth, dark, u"import-reading"_s));

    ImageDropZone zone;
    zone.setFixedHeight(420);
    EXPECT_TRUE(testsupport::rendersAsReference(zone, kWidth, dark, u"import-drop-accepting"_s));
    zone.setAccepts(false);
    EXPECT_TRUE(testsupport::rendersAsReference(zone, kWidth, dark, u"import-drop-refusing"_s));
}

INSTANTIATE_TEST_SUITE_P(Appearances, ImportScreenPictures, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "Dark" : "Light"; });

}  // namespace
