// What the kit draws: faces, symbols, and that every piece stays inside the
// room it takes (borders inside the edge, rings and tilts within their outsets).

#include "design/values/SymbolTable.h"
#include "design/widgets/Avatar.h"
#include "design/widgets/CalendarMarks.h"
#include "design/widgets/CountdownSticker.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/FormIconTile.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/LinkButton.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/ODMenuButton.h"
#include "design/widgets/ODSegmented.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/SettingsNote.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/Tilt.h"

#include "GalleryEntries.h"
#include "GalleryWindow.h"
#include "Rendering.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <utility>

namespace gallery {
void PrintTo(const NamedAppearance& named, std::ostream* out) {
    *out << named.name.toStdString();
}
}  // namespace gallery

namespace {

using namespace design;

// The smallest rectangle holding every pixel with any ink; empty when none.
QRect inkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int inkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

QImage canvas() {
    QImage image(240, 140, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

class KitAppearance : public ::testing::TestWithParam<gallery::NamedAppearance> {
protected:
    void SetUp() override { Theme::setAppearance(GetParam().appearance); }
    void TearDown() override { Theme::setAppearance(Appearance{}); }
};

TEST(KitFonts, TheFallbackFamiliesAreInstalled) {
    EXPECT_EQ(testsupport::missingFontFamilies(), QStringList());
}

TEST(KitFonts, AMissingFaceFallsBackToTheSystemFontOfTheSameSizeAndWeight) {
    const QString absent = QStringLiteral("Orbitday Absent Face 7f3a");
    ASSERT_FALSE(ODFont::isInstalled(absent));
    const QFont font = ODFont::faceOrSystem(absent, 13, FontWeight::semibold);
    const QFont system = ODFont::system(13, FontWeight::semibold);
    EXPECT_EQ(font.family(), system.family());
    EXPECT_NE(font.family(), absent);  // not a look-alike the font matcher picked
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_EQ(font.weight(), QFont::DemiBold);
    EXPECT_TRUE(QFontDatabase::families().contains(QFontInfo(font).family()));
}

TEST(KitFonts, AnInstalledFaceIsUsedAsNamed) {
    const QFont serif = ODFont::faceOrSystem(QStringLiteral("DejaVu Serif"), 15, FontWeight::bold);
    EXPECT_EQ(QFontInfo(serif).family(), u"DejaVu Serif");
    EXPECT_EQ(QFontInfo(serif).pixelSize(), 15);
    EXPECT_TRUE(QFontInfo(serif).bold());
}

// Without the named faces the texts take stand-ins of about their widths, never
// the desktop's font (DejaVu Sans here, a fifth wider), which would cut the texts
// the screens size to fit; the text family's stand-in keeps its four faces.
TEST(KitFonts, MissingNamedFacesTakeStandInsOfTheirWidthAndFaces) {
    if (ODFont::isInstalled(QStringLiteral("Avenir Next")) || ODFont::isInstalled(QStringLiteral("DIN Alternate")))
        GTEST_SKIP() << "the named faces are installed here";
    const auto face = [](const QFont& font) -> QString { return QFontInfo(font).family() + u' ' + QFontInfo(font).styleName(); };
    EXPECT_EQ(face(ODFont::body(12)), u"Lato Regular");
    EXPECT_EQ(face(ODFont::body(12, FontWeight::light)), u"Lato Regular");
    EXPECT_EQ(face(ODFont::body(12, FontWeight::medium)), u"Lato Medium");
    EXPECT_EQ(face(ODFont::nsBody(12, FontWeight::semibold)), u"Lato Semibold");
    EXPECT_EQ(face(ODFont::body(12, FontWeight::heavy)), u"Lato Bold");
    EXPECT_EQ(face(ODFont::system(13, FontWeight::semibold)), u"Inter Semi Bold");
    EXPECT_EQ(face(ODFont::monospace(13)), u"DejaVu Sans Mono Book");
    // Numbers and titles keep to about the display face's width: DejaVu Sans would cut month names.
    EXPECT_EQ(face(ODFont::display(19)), u"Liberation Sans Bold");
    EXPECT_EQ(ODFont::display(19).pixelSize(), 19);

    // The widths the screens were measured for: the text stand-in sets a line as
    // narrow as a Helvetica-width sans does, where the desktop's font runs wide.
    const QString line = QStringLiteral("Try: Lunch with Sam tomorrow 1pm");
    const auto width = [&line](const QFont& font) { return QFontMetricsF(font).horizontalAdvance(line); };
    const qreal standIn = width(ODFont::body(13));
    EXPECT_LT(standIn, width(ODFont::faceOrSystem(QStringLiteral("Liberation Sans"), 13, FontWeight::regular)) * 1.02);
    EXPECT_LT(standIn, width(ODFont::faceOrSystem(QStringLiteral("DejaVu Sans"), 13, FontWeight::regular)) * 0.92);
}

// Qt loads faces at whole pixel sizes: a half size must still set its text at
// its own width, not at the next size's (12.5 drawn as 13 widened every text).
TEST(KitFonts, AHalfSizeSetsItsTextAtItsOwnWidth) {
    const QString text = QStringLiteral("Wed, Mar 11 \u00b7 10:00 AM \u2013 11:00 AM");
    const auto width = [&text](const QFont& font) { return QFontMetricsF(font).horizontalAdvance(text); };
    for (const auto& [name, font] : std::initializer_list<std::pair<const char*, QFont (*)(qreal)>>{
             {"body", [](qreal size) { return ODFont::body(size, FontWeight::medium); }},
             {"system", [](qreal size) { return ODFont::system(size); }},
             {"display", [](qreal size) { return ODFont::display(size); }},
             {"monospace", [](qreal size) { return ODFont::monospace(size); }}}) {
        SCOPED_TRACE(name);
        for (const qreal size : {8.5, 11.5, 12.5}) {
            const qreal below = width(font(size - 0.5));
            const qreal above = width(font(size + 0.5));
            EXPECT_NEAR(width(font(size)), (below + above) / 2, (above - below) / 8) << size;
        }
        EXPECT_EQ(font(12.5).pixelSize(), 13);
    }
}

TEST(KitSymbols, EveryNamedSymbolDrawsInItsColour) {
    const QColor flame = toQColor(Theme::flame());
    for (const QString& name : SymbolTable::names()) {
        const QImage image = Symbols::image(name, flame, 16, FontWeight::semibold);
        SCOPED_TRACE(name.toStdString());
        ASSERT_GT(inkedPixels(image), 10);
        // The most opaque pixel is the tint itself.
        QColor strongest(Qt::transparent);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).alpha() > strongest.alpha())
                    strongest = image.pixelColor(x, y);
        EXPECT_GT(strongest.alpha(), 200);
        EXPECT_NEAR(strongest.red(), flame.red(), 3);
        EXPECT_NEAR(strongest.green(), flame.green(), 3);
        EXPECT_NEAR(strongest.blue(), flame.blue(), 3);
    }
}

TEST(KitSymbols, AnUnknownNameDrawsTheNeutralGlyphAndIsReportedOnce) {
    EXPECT_FALSE(SymbolTable::hasSymbol(QStringLiteral("no.such.symbol")));
    EXPECT_TRUE(SymbolTable::hasSymbol(QStringLiteral("chevron.down")));
    EXPECT_FALSE(SymbolTable::hasSymbol(QStringLiteral("doc.text.viewfinder")));  // its screen has a second choice
    testing::internal::CaptureStderr();
    const QImage unknown = Symbols::image(QStringLiteral("no.such.symbol"), Qt::black, 14, FontWeight::regular);
    const QImage again = Symbols::image(QStringLiteral("no.such.symbol"), Qt::black, 14, FontWeight::regular);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log, "[Orbitday] no symbol named \"no.such.symbol\": drawing a neutral glyph\n");
    EXPECT_GT(inkedPixels(unknown), 10);
    EXPECT_EQ(unknown, again);
    EXPECT_NE(unknown, Symbols::image(QStringLiteral("calendar"), Qt::black, 14, FontWeight::regular));
}

TEST(KitSymbols, HeavierWeightsDrawThickerStrokes) {
    int previous = 0;
    for (FontWeight weight : {FontWeight::thin, FontWeight::regular, FontWeight::semibold, FontWeight::black}) {
        const int ink = inkedPixels(Symbols::image(QStringLiteral("calendar"), Qt::black, 20, weight));
        EXPECT_GT(ink, previous);
        previous = ink;
    }
    // A filled symbol has no stroke to thicken.
    EXPECT_EQ(Symbols::image(QStringLiteral("video.fill"), Qt::black, 20, FontWeight::thin),
              Symbols::image(QStringLiteral("video.fill"), Qt::black, 20, FontWeight::black));
}

// A piece drawn into `rect` of a larger canvas must draw something, and nothing
// beyond the rectangle grown by `outset`.
void expectDrawnWithin(const QRectF& rect, const QMarginsF& outset,
                       const std::function<void(QPainter&, const QRectF&)>& draw) {
    QImage image = canvas();
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, rect);
    }
    const QRect ink = inkBounds(image);
    ASSERT_FALSE(ink.isEmpty()) << "painted nothing";
    // Whole pixels that the allowed area touches may carry its antialiased edge.
    const QRect allowed = rect.marginsAdded(outset).toAlignedRect();
    EXPECT_TRUE(allowed.contains(ink)) << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                               << ink.height() << " outside " << allowed.x() << "," << allowed.y()
                                               << " " << allowed.width() << "x" << allowed.height();
}

TEST_P(KitAppearance, PiecesDrawOnlyWithinTheirRectangle) {
    const QMarginsF none;
    for (ODButtonKind kind : {ODButtonKind::primary, ODButtonKind::secondary, ODButtonKind::ghost,
                              ODButtonKind::danger}) {
        for (bool pressed : {false, true}) {
            const ODButtonStyle style(kind, ODButtonSize::medium);
            const QSizeF size = style.sizeFor(ODButton::measureLabel(style, QStringLiteral("Join"),
                                                                     QStringLiteral("video.fill")));
            expectDrawnWithin(QRectF(QPointF(40, 30), size), none, [&](QPainter& p, const QRectF& r) {
                const QRectF label = style.paintChrome(p, r, pressed);
                ODButton::drawLabel(p, label, style, QStringLiteral("Join"), QStringLiteral("video.fill"),
                                    style.labelColor());
            });
        }
    }
    expectDrawnWithin(QRectF(50, 40, 28, 28), none, [](QPainter& p, const QRectF& r) {
        ODIconButton::paint(p, r, QStringLiteral("chevron.left"), false);
    });
    expectDrawnWithin(QRectF(QPointF(50, 40), Keycap::sizeFor(QStringLiteral("Shift"))), none,
                      [](QPainter& p, const QRectF& r) { Keycap::paint(p, r, QStringLiteral("Shift")); });
    expectDrawnWithin(QRectF(50, 40, 8, 8), none,
                      [](QPainter& p, const QRectF& r) { CalendarDot::paint(p, r, Theme::teal(), 8); });
    expectDrawnWithin(QRectF(50, 40, 3, 14), none,
                      [](QPainter& p, const QRectF& r) { CalendarPill::paint(p, r, Theme::sky()); });
    expectDrawnWithin(QRectF(50, 40, 120, 1), none, [](QPainter& p, const QRectF& r) { Hairline::paint(p, r); });

    expectDrawnWithin(QRectF(QPointF(50, 40), AccentKeycap::sizeFor(QStringLiteral("Ctrl+J"))), none,
                      [](QPainter& p, const QRectF& r) { AccentKeycap::paint(p, r, QStringLiteral("Ctrl+J")); });
    for (ODButtonKind kind : {ODButtonKind::primary, ODButtonKind::ghost}) {
        const ODButtonStyle style(kind, ODButtonSize::small);
        const QSizeF size = style.sizeFor(
            KeycapButton::measureLabel(style, QStringLiteral("Save"), QStringLiteral("plus"), QStringLiteral("↩")));
        expectDrawnWithin(QRectF(QPointF(40, 30), size), none, [&](QPainter& p, const QRectF& r) {
            KeycapButton::drawLabel(p, style.paintChrome(p, r, false), style, QStringLiteral("Save"),
                                    QStringLiteral("plus"), QStringLiteral("↩"), style.labelColor());
        });
    }
    expectDrawnWithin(QRectF(50, 40, 28, 28), none, [](QPainter& p, const QRectF& r) {
        FormIconTile::paint(p, r, QStringLiteral("repeat"), toQColor(Theme::text2()));
    });
    model::ODAttendee ana;
    ana.name = QStringLiteral("Ana Lima");
    expectDrawnWithin(QRectF(50, 40, 22, 22), none,
                      [&ana](QPainter& p, const QRectF& r) { AvatarCircle::paint(p, r, ana, false); });
    expectDrawnWithin(QRectF(20, 40, 190, 28), none, [](QPainter& p, const QRectF& r) {
        FieldBackground::paint(p, r, true, false);
    });
    expectDrawnWithin(QRectF(20, 40, 190, 28), none, [](QPainter& p, const QRectF& r) {
        FieldBox::paint(p, r, toQColor(Theme::card()), false);
    });
    expectDrawnWithin(QRectF(QPointF(50, 40), ODSwitch::kTrackSize), none,
                      [](QPainter& p, const QRectF& r) { ODSwitch::paint(p, r, true); });
    const SegmentLabel segment{QStringLiteral("Date + next"), QStringLiteral("sparkles")};
    expectDrawnWithin(QRectF(QPointF(30, 40), Segment::sizeFor(segment, true)), none,
                      [&segment](QPainter& p, const QRectF& r) { Segment::paint(p, r, segment, true); });
    expectDrawnWithin(QRectF(QPointF(30, 40), LinkButton::sizeFor(QStringLiteral("Open"), QStringLiteral("arrow.up.right"))),
                      none, [](QPainter& p, const QRectF& r) {
                          LinkButton::paint(p, r, QStringLiteral("Open"), QStringLiteral("arrow.up.right"));
                      });
    // A title too long for the field is cut inside it, the chevron kept.
    const MenuButtonControl::Entry entry{
        MenuRow{QStringLiteral("A calendar with a very long name indeed"), QStringLiteral("detail"), Theme::teal()}};
    expectDrawnWithin(QRectF(20, 40, 150, 28), none, [&entry](QPainter& p, const QRectF& r) {
        MenuButtonControl::paint(p, r, &entry, QString(), false);
    });
    expectDrawnWithin(QRectF(20, 40, 200, 60), none, [](QPainter& p, const QRectF& r) {
        TextBlock::paint(p, r, QStringLiteral("Words that wrap onto a second line in this box"), ODFont::body(13),
                         Qt::black);
    });
}

TEST_P(KitAppearance, RingsAndTiltsStayWithinTheirOutsets) {
    // The ring lies between 1 and 3 pixels outside the control, never on it.
    const QRectF control(60, 50, 80, 28);
    expectDrawnWithin(control, QMarginsF(3, 3, 3, 3), [](QPainter& p, const QRectF& r) {
        FocusRing::paint(p, r, Shape::capsule());
    });
    QImage ring = canvas();
    {
        QPainter painter(&ring);
        FocusRing::paint(painter, control, Shape::rounded(5));
    }
    EXPECT_EQ(inkedPixels(ring.copy(control.adjusted(0.5, 0.5, -0.5, -0.5).toRect())), 0);

    const QString text = QStringLiteral("in 12 min");
    const QSizeF capsule = CountdownSticker::capsuleSize(text);
    for (qreal tilt : {-2.5, 8.0}) {
        expectDrawnWithin(QRectF(QPointF(60, 50), capsule), tiltOutset(capsule, tilt),
                          [&](QPainter& p, const QRectF& r) { CountdownSticker::paint(p, r, text, tilt); });
    }
}

TEST(KitTilt, ReducedMotionDrawsTheStickerStraight) {
    const QString text = QStringLiteral("in 5 min");
    const QRectF rect(QPointF(60, 50), CountdownSticker::capsuleSize(text));
    auto draw = [&](qreal tilt) {
        QImage image = canvas();
        QPainter painter(&image);
        CountdownSticker::paint(painter, rect, text, tilt);
        painter.end();
        return image;
    };
    Theme::setAppearance(Appearance{false, false, true});
    const QImage reduced = draw(-2.5);
    Theme::setAppearance(Appearance{});
    EXPECT_EQ(reduced, draw(0));
    EXPECT_NE(draw(-2.5), draw(0));
}

// Every control of every gallery entry paints something in every appearance,
// so a control that joins the gallery is checked here too.
TEST_P(KitAppearance, EveryGalleryControlPaints) {
    for (const gallery::Entry& entry : gallery::entries()) {
        SCOPED_TRACE(entry.name.toStdString());
        gallery::EntryFrame frame(entry.build());
        frame.resize(frame.sizeHint());
        frame.show();
        const QColor surface = toQColor(Theme::surface());
        auto paintedOn = [&surface](const QImage& image) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) != surface.rgba())
                        return true;
            return false;
        };
        EXPECT_TRUE(paintedOn(gallery::renderEntry(entry)));
        for (QWidget* child : frame.findChildren<QWidget*>()) {
            const bool isKitControl = qobject_cast<QAbstractButton*>(child) != nullptr ||
                                      qobject_cast<Keycap*>(child) != nullptr ||
                                      qobject_cast<CountdownSticker*>(child) != nullptr ||
                                      qobject_cast<CalendarDot*>(child) != nullptr ||
                                      qobject_cast<CalendarPill*>(child) != nullptr ||
                                      qobject_cast<Hairline*>(child) != nullptr ||
                                      qobject_cast<TextLine*>(child) != nullptr ||
                                      qobject_cast<TextBlock*>(child) != nullptr ||
                                      qobject_cast<SymbolView*>(child) != nullptr ||
                                      qobject_cast<AccentKeycap*>(child) != nullptr ||
                                      qobject_cast<FormIconTile*>(child) != nullptr ||
                                      qobject_cast<AvatarCircle*>(child) != nullptr ||
                                      qobject_cast<FieldFrame*>(child) != nullptr ||
                                      qobject_cast<SettingsNote*>(child) != nullptr ||
                                      qobject_cast<SegmentedControl*>(child) != nullptr;
            if (!isKitControl || !child->isVisible())
                continue;
            QImage image(child->size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(surface);
            child->render(&image);
            EXPECT_TRUE(paintedOn(image)) << child->metaObject()->className() << " \""
                                          << child->accessibleName().toStdString() << "\" painted nothing";
        }
    }
}

// Every entry of the gallery as it looked when it was last reviewed, in the light and the dark
// appearance: a padding, a fill or a text colour changed anywhere in the kit shows here.
TEST(KitReferences, EveryGalleryEntryLooksAsReviewed) {
    ASSERT_EQ(testsupport::missingFontFamilies(), QStringList());
    for (const gallery::NamedAppearance& named : gallery::appearances()) {
        if (named.appearance.increaseContrast)
            continue;
        Theme::setAppearance(named.appearance);
        for (const gallery::Entry& entry : gallery::entries())
            EXPECT_TRUE(testsupport::matchesReference(gallery::renderEntry(entry),
                                                      QStringLiteral("kit-%1-%2").arg(entry.name, named.name)));
    }
    Theme::setAppearance(Appearance{});
}

INSTANTIATE_TEST_SUITE_P(Appearances, KitAppearance, ::testing::ValuesIn(gallery::appearances()),
                         [](const auto& param) {
                             QString name = param.param.name;
                             return name.remove(QLatin1Char('-')).toStdString();
                         });

}  // namespace
