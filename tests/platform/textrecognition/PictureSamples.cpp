#include "PictureSamples.h"

#include <QBuffer>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace testsupport::samples {
namespace {

constexpr QSize kPhotoSize{1024, 768};

QImage blank(QSize size, QColor fill) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// Sensor noise: each channel of each pixel moved by up to `amount` either way.
void addNoise(QImage& image, int amount, quint32 seed) {
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const auto moved = [&](int value) {
                return std::clamp(value + random.bounded(-amount, amount + 1), 0, 255);
            };
            row[x] = qRgb(moved(qRed(row[x])), moved(qGreen(row[x])), moved(qBlue(row[x])));
        }
    }
}

QImage jpegRoundTrip(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
}

// As a camera gives it: noise, then its compression.
QImage photographed(QImage image, int noise, quint32 seed, int quality = 70) {
    addNoise(image, noise, seed);
    return jpegRoundTrip(image, quality);
}

QImage sky() {
    QImage image = blank(kPhotoSize, Qt::white);
    QPainter painter(&image);
    QLinearGradient ground(0, 0, 0, kPhotoSize.height());
    ground.setColorAt(0, QColor(0x3a, 0x7b, 0xd5));
    ground.setColorAt(1, QColor(0xb8, 0xd8, 0xf2));
    painter.fillRect(image.rect(), ground);
    QRandomGenerator random(11);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const QPointF centre(random.bounded(kPhotoSize.width()), random.bounded(kPhotoSize.height() / 2));
        const double radius = 30 + random.bounded(90);
        QRadialGradient cloud(centre, radius);
        cloud.setColorAt(0, QColor(255, 255, 255, 200));
        cloud.setColorAt(1, QColor(255, 255, 255, 0));
        painter.setBrush(cloud);
        painter.drawEllipse(centre, radius * 1.6, radius);
    }
    painter.end();
    return photographed(image, 6, 12);
}

QImage grass() {
    QImage image = blank(kPhotoSize, QColor(0x3d, 0x6b, 0x2a));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(21);
    for (int i = 0; i < 9000; ++i) {
        const QPointF root(random.bounded(kPhotoSize.width()), random.bounded(kPhotoSize.height() + 40));
        const double length = 10 + random.bounded(40);
        const double lean = random.bounded(-12, 13);
        const int shade = random.bounded(60, 170);
        painter.setPen(QPen(QColor(shade / 3, shade, shade / 4), 1 + random.bounded(2)));
        painter.drawLine(root, root + QPointF(lean, -length));
    }
    painter.end();
    return photographed(image, 8, 22);
}

QImage gravel() {
    QImage image = blank(kPhotoSize, QColor(0x9a, 0x8f, 0x80));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QRandomGenerator random(31);
    for (int i = 0; i < 5000; ++i) {
        const int grey = random.bounded(70, 220);
        painter.setBrush(QColor(grey, grey - 8, grey - 20));
        const double size = 3 + random.bounded(9);
        painter.drawEllipse(QPointF(random.bounded(kPhotoSize.width()), random.bounded(kPhotoSize.height())),
                            size, size * (0.5 + random.bounded(0.5)));
    }
    painter.end();
    return photographed(image, 14, 32, 60);
}

QImage bokeh() {
    QImage image = blank(kPhotoSize, QColor(0x12, 0x10, 0x1c));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QRandomGenerator random(41);
    const QColor lights[] = {QColor(0xff, 0xc8, 0x60), QColor(0xff, 0x70, 0x90), QColor(0x80, 0xc0, 0xff)};
    for (int i = 0; i < 70; ++i) {
        const QPointF centre(random.bounded(kPhotoSize.width()), random.bounded(kPhotoSize.height()));
        const double radius = 15 + random.bounded(60);
        QColor light = lights[random.bounded(3)];
        QRadialGradient glow(centre, radius);
        light.setAlpha(170);
        glow.setColorAt(0, light);
        glow.setColorAt(0.8, light);
        light.setAlpha(0);
        glow.setColorAt(1, light);
        painter.setBrush(glow);
        painter.drawEllipse(centre, radius, radius);
    }
    painter.end();
    return photographed(image, 10, 42);
}

QImage brickWall() {
    QImage image = blank(kPhotoSize, QColor(0xc8, 0xc0, 0xb4));
    QPainter painter(&image);
    QRandomGenerator random(51);
    painter.setPen(Qt::NoPen);
    constexpr int kBrick = 64;
    constexpr int kCourse = 26;
    for (int course = 0; course * kCourse < kPhotoSize.height(); ++course) {
        const int shift = course % 2 ? kBrick / 2 : 0;
        for (int x = -shift; x < kPhotoSize.width(); x += kBrick) {
            painter.setBrush(QColor(0x8a + random.bounded(-25, 26), 0x3c + random.bounded(-12, 13), 0x2a));
            painter.drawRect(x + 2, course * kCourse + 2, kBrick - 4, kCourse - 4);
        }
    }
    painter.end();
    return photographed(image, 12, 52);
}

QImage woodGrain() {
    QImage image = blank(kPhotoSize, Qt::white);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double ring = std::sin((y + 14 * std::sin(x / 90.0)) / 5.0 + std::sin(x / 37.0));
            const int shade = static_cast<int>(40 * ring);
            row[x] = qRgb(0xa8 + shade, 0x74 + shade * 3 / 4, 0x48 + shade / 2);
        }
    }
    return photographed(image, 9, 62);
}

struct Sheet {
    QPoint firstBaseline;
    int headingPixels;
    int headingStep;
    int linePixels;
    int lineStep;
};

// A bold heading and lines under it, spaced as on a printed sheet.
void paintHeadedLines(QPainter& painter, const QStringList& lines, const Sheet& sheet) {
    int baseline = sheet.firstBaseline.y();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QFont font(u"DejaVu Sans"_s);
        font.setPixelSize(i == 0 ? sheet.headingPixels : sheet.linePixels);
        font.setBold(i == 0);
        painter.setFont(font);
        painter.drawText(sheet.firstBaseline.x(), baseline, lines[i]);
        baseline += i == 0 ? sheet.headingStep : sheet.lineStep;
    }
}

struct Flyer {
    QString name;
    QColor ground;
    QColor groundFar;
    QColor ink;
    QStringList lines;
    QStringList musts;
};

QImage paintedFlyer(const Flyer& flyer, quint32 seed) {
    QImage image = blank({900, 1200}, flyer.ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient ground(0, 0, 900, 1200);
    ground.setColorAt(0, flyer.ground);
    ground.setColorAt(1, flyer.groundFar);
    painter.fillRect(image.rect(), ground);
    painter.setPen(flyer.ink);
    paintHeadedLines(painter, flyer.lines, {{70, 160}, 64, 150, 40, 90});
    painter.end();
    return photographed(image, 5, seed, 85);
}

struct Cell {
    QString label;
    QString value;
};

// A boarding pass or ticket: a coloured band with the issuer, then rows of cells, each
// a small grey label over its value.
QImage paintedTicket(const QString& issuer, QColor band, const std::vector<std::vector<Cell>>& rows, quint32 seed) {
    QImage image = blank({1000, 200 + 110 * static_cast<int>(rows.size())}, QColor(0xf4, 0xf4, 0xf2));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRect(0, 0, image.width(), 90), band);
    QFont heading(u"DejaVu Sans"_s);
    heading.setPixelSize(30);
    heading.setBold(true);
    painter.setFont(heading);
    painter.setPen(Qt::white);
    painter.drawText(40, 58, issuer);
    QFont label(u"DejaVu Sans"_s);
    label.setPixelSize(11);
    QFont value(u"DejaVu Sans"_s);
    value.setPixelSize(18);
    value.setBold(true);
    int top = 130;
    for (const std::vector<Cell>& row : rows) {
        int left = 40;
        for (const Cell& cell : row) {
            painter.setFont(label);
            painter.setPen(QColor(0x80, 0x80, 0x80));
            painter.drawText(left, top, cell.label);
            painter.setFont(value);
            painter.setPen(QColor(0x1a, 0x1a, 0x1a));
            painter.drawText(left, top + 26, cell.value);
            left += 920 / static_cast<int>(row.size());
        }
        top += 110;
    }
    painter.end();
    return photographed(image, 3, seed, 90);
}

Picture ticket(const QString& name, const QString& issuer, QColor band, const std::vector<std::vector<Cell>>& rows,
               quint32 seed) {
    Picture picture{name, paintedTicket(issuer, band, rows, seed), {issuer}, {}};
    for (const std::vector<Cell>& row : rows) {
        QStringList labels, values;
        for (const Cell& cell : row) {
            labels << cell.label;
            values << cell.value;
            picture.musts << cell.label << cell.value;
        }
        picture.lines << labels.join(u' ') << values.join(u' ');
    }
    return picture;
}

struct Poster {
    QString name;
    QStringList lines;
    QStringList musts;
    double tilt;
    // How dark the shadow over the far corner is, 0 to 1.
    double shadow;
};

// A poster on a wall, photographed: paper lit unevenly (a shadow across one side), the
// camera turned a little, then the sensor's noise and the phone's compression.
QImage photographedPoster(const Poster& poster, quint32 seed) {
    QImage paper = blank({1200, 900}, QColor(0xf2, 0xee, 0xe6));
    {
        QPainter painter(&paper);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setPen(QColor(0x20, 0x1c, 0x1a));
        paintHeadedLines(painter, poster.lines, {{90, 150}, 72, 150, 44, 95});
    }
    QImage photo = blank({1200, 900}, QColor(0x6a, 0x64, 0x5c));
    QPainter painter(&photo);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(600, 450);
    painter.rotate(poster.tilt);
    painter.scale(0.9, 0.9);
    painter.drawImage(-600, -450, paper);
    painter.resetTransform();
    QLinearGradient light(0, 0, 1200, 900);
    light.setColorAt(0, QColor(0, 0, 0, 0));
    light.setColorAt(1, QColor(0, 0, 0, static_cast<int>(255 * poster.shadow)));
    painter.fillRect(photo.rect(), light);
    painter.end();
    return photographed(photo, 8, seed, 60);
}

}  // namespace

std::vector<Picture> textlessPhotos() {
    return {{u"sky"_s, sky(), {}, {}},
            {u"grass"_s, grass(), {}, {}},
            {u"gravel"_s, gravel(), {}, {}},
            {u"bokeh"_s, bokeh(), {}, {}},
            {u"brick wall"_s, brickWall(), {}, {}},
            {u"wood grain"_s, woodGrain(), {}, {}}};
}

std::vector<Picture> colouredFlyers() {
    const std::vector<Flyer> flyers{
        {u"pale yellow on pink"_s, QColor(0xff, 0x69, 0xb4), QColor(0xf5, 0x5a, 0xa8), QColor(0xff, 0xf0, 0x96),
         {u"Harbour Market"_s, u"Saturday 14 June 2025"_s, u"11:00 - 17:00"_s, u"www.harbourmarket.org"_s},
         {u"Saturday 14 June 2025"_s, u"11:00 - 17:00"_s, u"www.harbourmarket.org"_s}},
        {u"white on orange"_s, QColor(0xff, 0x96, 0x00), QColor(0xf8, 0x8a, 0x10), Qt::white,
         {u"Open Studio Day"_s, u"Sunday 6 July 2025"_s, u"10:30 - 16:00"_s, u"openstudios.example.com"_s},
         {u"Sunday 6 July 2025"_s, u"10:30 - 16:00"_s, u"openstudios.example.com"_s}},
        {u"yellow on sky blue"_s, QColor(0x50, 0xc8, 0xff), QColor(0x46, 0xbc, 0xf6), QColor(0xfa, 0xdc, 0x3c),
         {u"Beach Cleanup"_s, u"Friday 22 August 2025"_s, u"Meet at 09:00"_s, u"cleanup.example.org/join"_s},
         {u"Friday 22 August 2025"_s, u"09:00"_s, u"cleanup.example.org/join"_s}},
        {u"white on green"_s, QColor(0x78, 0xd2, 0x5a), QColor(0x6c, 0xc8, 0x50), Qt::white,
         {u"Garden Tour"_s, u"Thursday 3 April 2025"_s, u"14:00 - 15:30"_s, u"www.greenway.example"_s},
         {u"Thursday 3 April 2025"_s, u"14:00 - 15:30"_s, u"www.greenway.example"_s}},
        {u"lavender on coral"_s, QColor(0xff, 0x78, 0x64), QColor(0xf2, 0x6e, 0x5c), QColor(0xe6, 0xd2, 0xff),
         {u"Poetry Evening"_s, u"Wednesday 12 March 2025"_s, u"19:30 - 21:00"_s, u"poetry.example.net"_s},
         {u"Wednesday 12 March 2025"_s, u"19:30 - 21:00"_s, u"poetry.example.net"_s}},
    };
    std::vector<Picture> pictures;
    quint32 seed = 100;
    for (const Flyer& flyer : flyers)
        pictures.push_back({flyer.name, paintedFlyer(flyer, ++seed), flyer.lines, flyer.musts});
    return pictures;
}

std::vector<Picture> ticketsAndPasses() {
    return {
        ticket(u"boarding pass"_s, u"Northwind Air"_s, QColor(0x1f, 0x4e, 0x9a),
               {{{u"FLIGHT"_s, u"NW 482"_s}, {u"DATE"_s, u"14 JUN"_s}, {u"BOARDING"_s, u"06:45"_s}, {u"GATE"_s, u"B32"_s}},
                {{u"SEAT"_s, u"14A"_s}, {u"TERMINAL"_s, u"5"_s}, {u"ZONE"_s, u"2"_s}, {u"CLASS"_s, u"Economy"_s}}},
               201),
        ticket(u"train ticket"_s, u"Coastline Rail"_s, QColor(0xb0, 0x1e, 0x2e),
               {{{u"DATE"_s, u"03 SEP"_s}, {u"DEPARTS"_s, u"08:12"_s}, {u"ARRIVES"_s, u"10:47"_s}},
                {{u"COACH"_s, u"C"_s}, {u"SEAT"_s, u"61"_s}, {u"PLATFORM"_s, u"4"_s}}},
               202),
        ticket(u"ferry pass"_s, u"Island Ferries"_s, QColor(0x00, 0x7a, 0x87),
               {{{u"SAILING"_s, u"12 JUL"_s}, {u"CHECK-IN"_s, u"09:30"_s}, {u"DEPARTS"_s, u"10:15"_s}},
                {{u"DECK"_s, u"3"_s}, {u"CABIN"_s, u"D17"_s}, {u"VEHICLE"_s, u"None"_s}}},
               204),
        ticket(u"museum ticket"_s, u"City Museum"_s, QColor(0x6a, 0x3d, 0x9a),
               {{{u"DATE"_s, u"08 MAR"_s}, {u"ENTRY"_s, u"11:30"_s}, {u"GALLERY"_s, u"East Wing"_s}},
                {{u"ADMITS"_s, u"2"_s}, {u"REF"_s, u"MX-20931"_s}, {u"PRICE"_s, u"EUR 18.00"_s}}},
               205),
        ticket(u"cinema ticket"_s, u"Lumen Cinema"_s, QColor(0x8c, 0x1c, 0x4a),
               {{{u"DATE"_s, u"17 OCT"_s}, {u"STARTS"_s, u"21:15"_s}, {u"SCREEN"_s, u"7"_s}},
                {{u"ROW"_s, u"H"_s}, {u"SEATS"_s, u"11-12"_s}, {u"BOOKING"_s, u"LC-55812"_s}}},
               206),
        ticket(u"concert ticket"_s, u"Harbour Hall"_s, QColor(0x2d, 0x2d, 0x2d),
               {{{u"DATE"_s, u"21 NOV"_s}, {u"DOORS"_s, u"19:00"_s}, {u"SHOW"_s, u"20:30"_s}},
                {{u"SECTION"_s, u"112"_s}, {u"ROW"_s, u"F"_s}, {u"SEAT"_s, u"9"_s}}},
               207),
    };
}

std::vector<Picture> posterPhotos() {
    const std::vector<Poster> posters{
        {u"craft fair"_s, {u"Craft Fair"_s, u"Sunday 9 November 2025"_s, u"11:00 - 17:00"_s, u"www.craftfair.example.org"_s},
         {u"Sunday 9 November 2025"_s, u"11:00 - 17:00"_s, u"www.craftfair.example.org"_s}, 2.0, 0.55},
        {u"choir concert"_s, {u"Choir Concert"_s, u"Saturday 13 December 2025"_s, u"19:30 - 21:00"_s, u"choir.example.com/tickets"_s},
         {u"Saturday 13 December 2025"_s, u"19:30 - 21:00"_s, u"choir.example.com/tickets"_s}, -1.5, 0.6},
        {u"book swap"_s, {u"Book Swap"_s, u"Tuesday 4 March 2025"_s, u"18:00 - 20:00"_s, u"bookswap.example.net"_s},
         {u"Tuesday 4 March 2025"_s, u"18:00 - 20:00"_s, u"bookswap.example.net"_s}, 1.2, 0.7},
        {u"yoga in the park"_s, {u"Yoga in the Park"_s, u"Monday 2 June 2025"_s, u"07:00 - 08:00"_s, u"parkyoga.example.org"_s},
         {u"Monday 2 June 2025"_s, u"07:00 - 08:00"_s, u"parkyoga.example.org"_s}, -2.5, 0.5},
        {u"repair cafe"_s, {u"Repair Cafe"_s, u"Saturday 17 May 2025"_s, u"10:00 - 13:00"_s, u"repaircafe.example.com"_s},
         {u"Saturday 17 May 2025"_s, u"10:00 - 13:00"_s, u"repaircafe.example.com"_s}, 3.0, 0.65},
    };
    std::vector<Picture> pictures;
    quint32 seed = 300;
    for (const Poster& poster : posters)
        pictures.push_back({poster.name, photographedPoster(poster, ++seed), poster.lines, poster.musts});
    return pictures;
}

double characterErrorRate(const QString& truth, const QString& found) {
    if (truth.isEmpty())
        return found.isEmpty() ? 0.0 : 1.0;
    std::vector<qsizetype> previous(static_cast<size_t>(found.size()) + 1);
    std::vector<qsizetype> current(previous.size());
    for (size_t j = 0; j < previous.size(); ++j)
        previous[j] = static_cast<qsizetype>(j);
    for (qsizetype i = 1; i <= truth.size(); ++i) {
        current[0] = i;
        for (qsizetype j = 1; j <= found.size(); ++j) {
            const qsizetype change = previous[static_cast<size_t>(j - 1)] + (truth[i - 1] == found[j - 1] ? 0 : 1);
            current[static_cast<size_t>(j)] =
                std::min({change, previous[static_cast<size_t>(j)] + 1, current[static_cast<size_t>(j - 1)] + 1});
        }
        std::swap(previous, current);
    }
    return static_cast<double>(previous.back()) / static_cast<double>(truth.size());
}

}  // namespace testsupport::samples
