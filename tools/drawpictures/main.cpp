// Draws the twelve pictures of the Plumora editor into the folder named on the
// command line, then reads every one of them back and fails if any is missing,
// has the wrong size, or is a BMP that is not plain 24-bit.
//
//   drawpictures <output folder>

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Fonts are loaded from files rather than looked up by name so that the
// pictures come out the same on every machine that has fonts-dejavu-core.
const char* const kFontFolder = "/usr/share/fonts/truetype/dejavu/";

QString gSans;
QString gSansCondensed;

bool loadFonts() {
    const auto load = [](const char* file) -> QString {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kFontFolder) + QLatin1String(file));
        if (id < 0) {
            std::fprintf(stderr, "drawpictures: cannot load font %s%s\n", kFontFolder, file);
            return {};
        }
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    };
    gSans = load("DejaVuSans.ttf");
    gSansCondensed = load("DejaVuSansCondensed.ttf");
    return !gSans.isEmpty() && !gSansCondensed.isEmpty();
}

QColor grey(int level) { return QColor(level, level, level); }

// The top strip of the editor (26 rows) and the header of the find dialog share
// this shade, so the round title buttons can carry it in their corners and sit
// seamlessly on either backdrop. It stays close to the window grey (110) so the
// buttons also look right where no backdrop is drawn behind them.
QColor stripShade(int row) {
    if (row <= 0) return grey(136);
    if (row >= 25) return grey(80);
    const double t = (row - 1) / 23.0;
    return grey(static_cast<int>(std::lround(117.0 - 15.0 * t)));
}

// The title buttons are drawn two rows below the top of their strip.
constexpr int kTitleButtonTop = 2;

void fillStripRows(QImage& image, int firstStripRow) {
    for (int y = 0; y < image.height(); ++y) {
        const QRgb shade = stripShade(y + firstStripRow).rgb();
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = shade;
    }
}

QImage newOpaque(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

QImage newTransparent(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void beginPainting(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// ---------------------------------------------------------------------------
// Round title buttons

enum class Glyph { Close, Minimize, Maximize, Centre, FullScreen };

QImage titleButton(const QColor& base, Glyph glyph) {
    QImage image = newOpaque(21, 21);
    fillStripRows(image, kTitleButtonTop);

    QPainter p(&image);
    beginPainting(p);
    const QPointF c(10.5, 10.5);

    // A soft shadow below the ball lifts it off the strip.
    QRadialGradient shadow(QPointF(10.5, 11.6), 10.2);
    shadow.setColorAt(0.80, QColor(0, 0, 0, 70));
    shadow.setColorAt(1.00, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QPointF(10.5, 11.6), 10.2, 10.2);

    // Rim, then the body lit from below as if glazed.
    p.setBrush(base.darker(165));
    p.drawEllipse(c, 8.9, 8.9);

    QRadialGradient body(QPointF(10.5, 14.5), 11.0, QPointF(10.5, 17.0));
    body.setColorAt(0.0, base.lighter(135));
    body.setColorAt(0.55, base);
    body.setColorAt(1.0, base.darker(118));
    p.setBrush(body);
    p.drawEllipse(c, 8.0, 8.0);

    QLinearGradient gloss(QPointF(0, 3.0), QPointF(0, 10.5));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 185));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawEllipse(QPointF(10.5, 6.8), 5.6, 3.9);

    QColor ink = base.darker(330);
    ink.setAlpha(225);
    QPen pen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Close:
        p.drawLine(QPointF(7.6, 7.6), QPointF(13.4, 13.4));
        p.drawLine(QPointF(13.4, 7.6), QPointF(7.6, 13.4));
        break;
    case Glyph::Minimize: p.drawLine(QPointF(6.8, 10.5), QPointF(14.2, 10.5)); break;
    case Glyph::Maximize:
        p.drawLine(QPointF(6.8, 10.5), QPointF(14.2, 10.5));
        p.drawLine(QPointF(10.5, 6.8), QPointF(10.5, 14.2));
        break;
    case Glyph::Centre: {
        pen.setWidthF(1.3);
        p.setPen(pen);
        p.drawRoundedRect(QRectF(6.6, 6.6, 7.8, 7.8), 1.4, 1.4);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(c, 1.5, 1.5);
        break;
    }
    case Glyph::FullScreen: {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        QPolygonF upperLeft;
        upperLeft << QPointF(6.0, 6.0) << QPointF(10.9, 6.0) << QPointF(6.0, 10.9);
        QPolygonF lowerRight;
        lowerRight << QPointF(15.0, 15.0) << QPointF(10.1, 15.0) << QPointF(15.0, 10.1);
        p.drawPolygon(upperLeft);
        p.drawPolygon(lowerRight);
        break;
    }
    }
    p.end();
    return image;
}

// ---------------------------------------------------------------------------
// Buttons of the save-changes bar

const QColor kBarYellow(0xFF, 0xF3, 0xC1);

QFont fittingFont(const QString& family, const QString& text, double maxWidth, int largestPixelSize) {
    QFont font(family);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    for (int size = largestPixelSize; size > 7; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= maxWidth) return font;
    }
    font.setPixelSize(8);
    return font;
}

// All three buttons of the bar share one type: the largest in which the
// longest caption fits.
QFont barButtonFont() { return fittingFont(gSansCondensed, QStringLiteral("Cancel"), 39 - 6.0, 11); }

void drawBarButton(QImage& image, const QString& caption) {
    QPainter p(&image);
    beginPainting(p);
    const QRectF face(0.5, 0.5, image.width() - 1.0, image.height() - 1.0);

    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFD));
    fill.setColorAt(0.5, QColor(0xFA, 0xF6, 0xEA));
    fill.setColorAt(1.0, QColor(0xEC, 0xE3, 0xCB));
    p.setPen(QPen(QColor(0xB5, 0x9A, 0x5E), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(face, 4.0, 4.0);

    // The inner top highlight keeps the face from looking flat against the bar.
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
    p.drawLine(QPointF(3.5, 1.5), QPointF(image.width() - 3.5, 1.5));

    p.setFont(barButtonFont());
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, image.width(), image.height() - 0.5), Qt::AlignCenter, caption);
    p.end();
}

QImage barButtonOpaque(const QString& caption) {
    QImage image = newOpaque(39, 21);
    image.fill(kBarYellow);
    drawBarButton(image, caption);
    return image;
}

QImage barButtonTransparent(const QString& caption) {
    QImage image = newTransparent(39, 21);
    drawBarButton(image, caption);
    return image;
}

// ---------------------------------------------------------------------------
// Backdrops

// A groove between groups of title buttons, cut into the strip.
void drawGroove(QPainter& p, int x, int top, int bottom) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawLine(x, top, x, bottom);
    p.setPen(QColor(255, 255, 255, 40));
    p.drawLine(x + 1, top, x + 1, bottom);
    p.setRenderHint(QPainter::Antialiasing, true);
}

// The window's backdrop is drawn at its top left only: the strip is as wide as
// the widest screen, so that a window of any width up to it shows it across.
constexpr int kEditorBannerWidth = 3840;

QImage editorBanner() {
    QImage image = newOpaque(kEditorBannerWidth, 26);
    fillStripRows(image, 0);

    QPainter p(&image);
    beginPainting(p);
    // The buttons fall into window controls (close, minimize, maximize) and
    // placement controls (centre, full screen); the grooves say so.
    drawGroove(p, 75, 5, 20);
    drawGroove(p, 128, 5, 20);
    p.end();
    return image;
}

QImage findDialogBanner() {
    const int width = 357;
    const int height = 164;
    const int headerRows = 26;
    QImage image = newOpaque(width, height);

    for (int y = 0; y < height; ++y) {
        QColor shade;
        if (y < headerRows) {
            shade = stripShade(y);
        } else {
            const double t = double(y - headerRows) / (height - 1 - headerRows);
            shade = grey(static_cast<int>(std::lround(94.0 - 14.0 * t)));
        }
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = shade.rgb();
    }

    QPainter p(&image);
    beginPainting(p);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A thin light line under the header's shadow line gives the header edge a bevel.
    p.setPen(grey(100));
    p.drawLine(0, headerRows, width - 1, headerRows);
    // A dark frame keeps the dialog distinct from whatever lies behind it.
    p.setPen(grey(58));
    p.drawRect(0, 0, width - 1, height - 1);
    p.setRenderHint(QPainter::Antialiasing, true);

    QFont wordmark(gSans);
    wordmark.setPixelSize(20);
    wordmark.setBold(true);
    wordmark.setItalic(true);
    wordmark.setHintingPreference(QFont::PreferNoHinting);
    p.setFont(wordmark);
    p.setPen(QColor(255, 255, 255, 22));
    p.drawText(QRectF(0, 0, width - 10, height - 6), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Plumora"));
    p.end();
    return image;
}

// ---------------------------------------------------------------------------
// Toolbar pictures

QImage bevelFace() {
    QImage image = newTransparent(201, 21);
    QPainter p(&image);
    beginPainting(p);
    const QRectF face(0.5, 0.5, 200.0, 20.0);

    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0.00, QColor(0xFB, 0xFB, 0xFC));
    fill.setColorAt(0.48, QColor(0xE9, 0xEA, 0xED));
    fill.setColorAt(0.52, QColor(0xDF, 0xE0, 0xE4));
    fill.setColorAt(1.00, QColor(0xCC, 0xCE, 0xD3));
    p.setPen(QPen(QColor(0x8E, 0x91, 0x98, 150), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(face, 3.5, 3.5);

    p.setPen(QPen(QColor(255, 255, 255, 210), 1.0));
    p.drawLine(QPointF(3.5, 1.5), QPointF(197.5, 1.5));
    p.end();
    return image;
}

QImage paletteIcon() {
    QImage image = newTransparent(16, 16);
    QPainter p(&image);
    beginPainting(p);

    QPainterPath board;
    board.addEllipse(QRectF(0.8, 1.8, 14.4, 12.2));
    QPainterPath thumbHole;
    thumbHole.addEllipse(QPointF(5.0, 10.0), 1.6, 1.6);
    QPainterPath notch;
    notch.addEllipse(QPointF(2.2, 13.6), 2.9, 2.9);
    board = board.subtracted(thumbHole).subtracted(notch);

    QLinearGradient wood(QPointF(0, 2), QPointF(0, 14));
    wood.setColorAt(0.0, QColor(0xF8, 0xEC, 0xD2));
    wood.setColorAt(1.0, QColor(0xDB, 0xC0, 0x93));
    p.setPen(QPen(QColor(0x3A, 0x2C, 0x1C, 220), 0.9));
    p.setBrush(wood);
    p.drawPath(board);

    struct Dab {
        QPointF at;
        QColor colour;
    };
    const Dab dabs[] = {
        {QPointF(5.0, 5.4), QColor(0xE0, 0x3A, 0x35)},
        {QPointF(8.6, 4.4), QColor(0xF2, 0xB8, 0x1D)},
        {QPointF(11.6, 6.6), QColor(0x3E, 0xA8, 0x46)},
        {QPointF(10.9, 10.5), QColor(0x35, 0x74, 0xD9)},
    };
    p.setPen(QPen(QColor(0, 0, 0, 90), 0.6));
    for (const Dab& dab : dabs) {
        p.setBrush(dab.colour);
        p.drawEllipse(dab.at, 1.65, 1.65);
    }
    p.end();
    return image;
}

// ---------------------------------------------------------------------------
// Writing and checking

struct Picture {
    QString name;
    QSize size;
    std::function<QImage()> draw;
};

bool isBmp(const QString& name) { return name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive); }

bool writePicture(const QDir& folder, const Picture& picture) {
    QImage image = picture.draw();
    const QString path = folder.filePath(picture.name);
    if (isBmp(picture.name)) image = image.convertToFormat(QImage::Format_RGB888);
    else image = image.convertToFormat(QImage::Format_ARGB32);
    if (!image.save(path, isBmp(picture.name) ? "BMP" : "PNG")) {
        std::fprintf(stderr, "drawpictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Reads the bits-per-pixel field of a BMP's info header, so that a file Qt
// would quietly accept in another depth is still caught.
int bmpBitsPerPixel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray head = file.read(30);
    if (head.size() < 30 || head[0] != 'B' || head[1] != 'M') return -1;
    return static_cast<unsigned char>(head[28]) | (static_cast<unsigned char>(head[29]) << 8);
}

bool checkPicture(const QDir& folder, const Picture& picture) {
    const QString path = folder.filePath(picture.name);
    const QImage image(path);
    if (image.isNull()) {
        std::fprintf(stderr, "drawpictures: %s does not load\n", qPrintable(path));
        return false;
    }
    if (image.size() != picture.size) {
        std::fprintf(stderr, "drawpictures: %s is %dx%d, expected %dx%d\n", qPrintable(path), image.width(),
                     image.height(), picture.size.width(), picture.size.height());
        return false;
    }
    if (isBmp(picture.name)) {
        const int bits = bmpBitsPerPixel(path);
        if (bits != 24 || image.hasAlphaChannel()) {
            std::fprintf(stderr, "drawpictures: %s is %d-bit, expected 24-bit\n", qPrintable(path), bits);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: drawpictures <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        std::fprintf(stderr, "drawpictures: folder %s does not exist\n", argv[1]);
        return 2;
    }
    if (!loadFonts()) return 1;

    const QColor red(0xE2, 0x4B, 0x42);
    const QColor amber(0xEC, 0xAE, 0x2A);
    const QColor green(0x45, 0xB0, 0x45);
    const QColor blue(0x3D, 0x8B, 0xDB);
    const QColor violet(0x8F, 0x72, 0xDE);

    const std::vector<Picture> pictures = {
        {"buttonexit2.bmp", {21, 21}, [&] { return titleButton(red, Glyph::Close); }},
        {"buttonmin2.bmp", {21, 21}, [&] { return titleButton(amber, Glyph::Minimize); }},
        {"buttonmax1.bmp", {21, 21}, [&] { return titleButton(green, Glyph::Maximize); }},
        {"buttoncen1.bmp", {21, 21}, [&] { return titleButton(blue, Glyph::Centre); }},
        {"buttonfullscreen.bmp", {21, 21}, [&] { return titleButton(violet, Glyph::FullScreen); }},
        {"buttonyes6.bmp", {39, 21}, [] { return barButtonOpaque(QStringLiteral("Yes")); }},
        {"buttonno4.bmp", {39, 21}, [] { return barButtonOpaque(QStringLiteral("No")); }},
        {"buttoncancel3.png", {39, 21}, [] { return barButtonTransparent(QStringLiteral("Cancel")); }},
        {"bannerplumora51.bmp", {kEditorBannerWidth, 26}, [] { return editorBanner(); }},
        {"bannerplumora4.bmp", {357, 164}, [] { return findDialogBanner(); }},
        {"Picture 2.png", {201, 21}, [] { return bevelFace(); }},
        {"colorbutton2.png", {16, 16}, [] { return paletteIcon(); }},
    };

    bool ok = true;
    for (const Picture& picture : pictures) ok = writePicture(folder, picture) && ok;
    for (const Picture& picture : pictures) ok = checkPicture(folder, picture) && ok;
    if (!ok) return 1;
    std::printf("drawpictures: wrote and checked %zu pictures in %s\n", pictures.size(), argv[1]);
    return 0;
}
