// The compiled-in pictures: every key's size and stored format, the panels' text placement, the
// background's colours and the help picture drawn over the same background.
#include "resources/resource_set.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QtEndian>
#include <QtTest>

namespace {

enum class Stored { palette_png, rgb_png, jpeg, bmp24, icon };

quint16 u16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 u32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

QImage image_of(const char* key) {
    return resource_set::picture(QString::fromLatin1(key))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Mean colour of the 5 x 5 patch round (x, y), clipped to the picture.
QColor mean_around(const QImage& image, int x, int y) {
    int r = 0, g = 0, b = 0, n = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (image.rect().contains(p)) {
                const QRgb c = image.pixel(p);
                r += qRed(c);
                g += qGreen(c);
                b += qBlue(c);
                ++n;
            }
        }
    }
    return QColor(r / n, g / n, b / n);
}

// The mean difference per channel of two images of one size, alpha included, compared
// premultiplied so that the colour of a fully transparent pixel does not count.
double mean_difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                   qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * x.width() * x.height());
}

bool is_white(QRgb c) {
    return qRed(c) >= 200 && qGreen(c) >= 200 && qBlue(c) >= 200;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyKeyYieldsAPictureOfItsSizeInItsStoredFormat_data();
    void everyKeyYieldsAPictureOfItsSizeInItsStoredFormat();
    void windowIconHoldsFourSizesTransparentOutsideTheButton();
    void themeIconsAreTheWindowIconDrawnLargerAndTheSvgDrawsTheSame();
    void unknownKeysYieldNothingAndNeverCrash();
    void menuBarShowsByteForByteTheWindowBackground();
    void panelTextEndsAtLeastFifteenRowsAboveTheFirstControl_data();
    void panelTextEndsAtLeastFifteenRowsAboveTheFirstControl();
    void backgroundGradientPassesThroughTheGivenColours();
    void helpPictureKeepsTheBackgroundWhereNothingIsDrawn();
};

void PicturesTest::everyKeyYieldsAPictureOfItsSizeInItsStoredFormat_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<QSize>("size");
    QTest::newRow("window background")
        << "$this.BackgroundImage" << Stored::palette_png << QSize(800, 600);
    QTest::newRow("menu bar") << "menuStrip1.BackgroundImage" << Stored::palette_png
                              << QSize(800, 600);
    QTest::newRow("icon") << "$this.Icon" << Stored::icon << QSize(48, 48);
    QTest::newRow("grid frame") << "pictureBox_black_background.Image" << Stored::jpeg
                                << QSize(469, 469);
    QTest::newRow("help") << "pictureBox_help_background.Image" << Stored::rgb_png
                          << QSize(800, 600);
    QTest::newRow("completed") << "pictureBox_completed.Image" << Stored::bmp24 << QSize(233, 150);
    QTest::newRow("correct") << "pictureBox_correct.Image" << Stored::bmp24 << QSize(233, 150);
    QTest::newRow("incorrect") << "pictureBox_incorrect_solution.Image" << Stored::bmp24
                               << QSize(233, 150);
    QTest::newRow("invalid number")
        << "pictureBox_invalid_number.Image" << Stored::bmp24 << QSize(233, 153);
    QTest::newRow("select level") << "pictureBox_select_level.Image" << Stored::bmp24
                                  << QSize(233, 198);
}

void PicturesTest::everyKeyYieldsAPictureOfItsSizeInItsStoredFormat() {
    QFETCH(QString, key);
    QFETCH(Stored, stored);
    QFETCH(QSize, size);

    const QPixmap picture = resource_set::picture(key);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), size);

    // Held in less memory, the picture keeps every pixel; the background and
    // the grid frame, which the first frame shows, take a byte a pixel.
    const QImage compact = resource_set::compact_image(key);
    QCOMPARE(compact.convertToFormat(QImage::Format_ARGB32),
             resource_set::image(key).convertToFormat(QImage::Format_ARGB32));
    if (stored == Stored::palette_png || stored == Stored::jpeg) {
        QCOMPARE(compact.format(), QImage::Format_Indexed8);
    }

    const QByteArray bytes = resource_set::bytes(key);
    QVERIFY(bytes.size() > 64);
    switch (stored) {
    case Stored::palette_png:
    case Stored::rgb_png:
        QVERIFY(bytes.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(bytes.mid(12, 4), QByteArray("IHDR"));
        QCOMPARE(int(bytes[24]), 8); // bits per sample
        QCOMPARE(int(bytes[25]), stored == Stored::palette_png ? 3 : 2);
        break;
    case Stored::jpeg: {
        QVERIFY(bytes.startsWith("\xff\xd8\xff"));
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer, "jpeg");
        QVERIFY(reader.imageFormat() != QImage::Format_Grayscale8); // three colour channels
        break;
    }
    case Stored::bmp24:
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(u32(bytes, 14), 40u); // BITMAPINFOHEADER
        QCOMPARE(int(u32(bytes, 18)), size.width());
        QCOMPARE(qAbs(qint32(u32(bytes, 22))), size.height());
        QCOMPARE(u16(bytes, 28), quint16(24));
        QCOMPARE(u32(bytes, 30), 0u); // BI_RGB: uncompressed
        break;
    case Stored::icon: {
        QCOMPARE(u16(bytes, 0), quint16(0));
        QCOMPARE(u16(bytes, 2), quint16(1));
        QCOMPARE(u16(bytes, 4), quint16(4));
        QSet<int> sizes;
        for (int i = 0; i < 4; ++i) {
            const int entry = 6 + 16 * i;
            const int side = quint8(bytes[entry]);
            QCOMPARE(int(quint8(bytes[entry + 1])), side);
            QCOMPARE(u16(bytes, entry + 6), quint16(32));
            const quint32 length = u32(bytes, entry + 8);
            const quint32 offset = u32(bytes, entry + 12);
            QVERIFY(offset + length <= quint32(bytes.size()));
            // Each image is a 32-bit bitmap of double height (colour plus mask) or a PNG.
            if (!bytes.mid(offset, 4).startsWith("\x89PNG")) {
                QCOMPARE(int(u32(bytes, offset + 4)), side);
                QCOMPARE(int(u32(bytes, offset + 8)), 2 * side);
                QCOMPARE(u16(bytes, offset + 14), quint16(32));
            }
            sizes.insert(side);
        }
        QCOMPARE(sizes, QSet<int>({48, 32, 24, 16}));
        break;
    }
    }
}

void PicturesTest::windowIconHoldsFourSizesTransparentOutsideTheButton() {
    const QIcon icon = resource_set::icon(u"$this.Icon");
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 24, 32, 48}) {
        QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
        const QImage image =
            icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(side, side));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(side - 1, side - 1)), 0);
        QCOMPARE(qAlpha(image.pixel(side / 2, side / 2)), 255);
    }
}

// Guards against icons for software centres that are not the window's button (a stale or wrong
// file), are upscaled or lack transparency, and against an SVG whose gradients or gloss were lost.
void PicturesTest::themeIconsAreTheWindowIconDrawnLargerAndTheSvgDrawsTheSame() {
    const QImage icon_48 = resource_set::icon(u"$this.Icon").pixmap(QSize(48, 48)).toImage();
    QCOMPARE(icon_48.size(), QSize(48, 48));
    QSvgRenderer svg(QStringLiteral(TALLYWICK_RESOURCES_DIR "/window_icon.svg"));
    QVERIFY2(svg.isValid(), "window_icon.svg does not load");
    QCOMPARE(svg.viewBox(), QRect(0, 0, 256, 256));

    for (int side : {64, 128, 256}) {
        const QString path =
            QStringLiteral(TALLYWICK_RESOURCES_DIR "/window_icon_%1.png").arg(side);
        const QImage png = QImage(path).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!png.isNull(), qPrintable(path));
        QCOMPARE(png.size(), QSize(side, side));
        QCOMPARE(qAlpha(png.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(png.pixel(side - 1, 0)), 0);
        QCOMPARE(qAlpha(png.pixel(side - 1, side - 1)), 0);
        QCOMPARE(qAlpha(png.pixel(side / 2, side / 2)), 255);
        // Drawn with detail of its own, not blown up from a small image: edges stay sharp.
        int half_transparent = 0;
        for (int x = 0; x < side; ++x) {
            const int a = qAlpha(png.pixel(x, side / 2));
            half_transparent += a > 0 && a < 255;
        }
        QVERIFY2(half_transparent <= 4,
                 qPrintable(
                     QStringLiteral("%1 soft edge pixels at %2").arg(half_transparent).arg(side)));

        const double to_icon = mean_difference(
            png.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), icon_48);
        QVERIFY2(to_icon < 6, qPrintable(QStringLiteral("%1 px icon differs from the window icon "
                                                        "by %2 per channel")
                                             .arg(side)
                                             .arg(to_icon)));

        QImage rendered(side, side, QImage::Format_ARGB32_Premultiplied);
        rendered.fill(Qt::transparent);
        QPainter painter(&rendered);
        svg.render(&painter);
        painter.end();
        const double to_svg = mean_difference(rendered, png);
        QVERIFY2(to_svg < 4, qPrintable(QStringLiteral("the SVG at %1 px differs from the PNG by "
                                                       "%2 per channel")
                                            .arg(side)
                                            .arg(to_svg)));
    }
}

void PicturesTest::unknownKeysYieldNothingAndNeverCrash() {
    for (const QString& key :
         {QString(), QStringLiteral("nonsense"),
          QStringLiteral("$this.backgroundimage"), // keys are case-sensitive
          QStringLiteral("pictureBox_correct"), QStringLiteral(":/help.png")}) {
        QVERIFY2(resource_set::picture(key).isNull(), qPrintable(key));
        QVERIFY2(resource_set::icon(key).isNull(), qPrintable(key));
        QVERIFY2(resource_set::bytes(key).isEmpty(), qPrintable(key));
    }
}

void PicturesTest::menuBarShowsByteForByteTheWindowBackground() {
    const QByteArray window = resource_set::bytes(u"$this.BackgroundImage");
    QVERIFY(!window.isEmpty());
    QCOMPARE(resource_set::bytes(u"menuStrip1.BackgroundImage"), window);
}

void PicturesTest::panelTextEndsAtLeastFifteenRowsAboveTheFirstControl_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QRect>("text_box"); // where the message is lettered, inclusive
    QTest::addColumn<int>("first_control_row");
    QTest::newRow("completed") << "pictureBox_completed.Image"
                               << QRect(QPoint(33, 16), QPoint(193, 85)) << 100;
    QTest::newRow("correct") << "pictureBox_correct.Image" << QRect(QPoint(47, 28), QPoint(176, 66))
                             << 91;
    QTest::newRow("incorrect") << "pictureBox_incorrect_solution.Image"
                               << QRect(QPoint(37, 20), QPoint(198, 86)) << 102;
    QTest::newRow("invalid number")
        << "pictureBox_invalid_number.Image" << QRect(QPoint(49, 22), QPoint(179, 61)) << 91;
    QTest::newRow("select level") << "pictureBox_select_level.Image"
                                  << QRect(QPoint(40, 14), QPoint(188, 82)) << 106;
}

void PicturesTest::panelTextEndsAtLeastFifteenRowsAboveTheFirstControl() {
    QFETCH(QString, key);
    QFETCH(QRect, text_box);
    QFETCH(int, first_control_row);

    const QImage image = resource_set::picture(key).toImage().convertToFormat(QImage::Format_RGB32);
    QRect white;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (is_white(image.pixel(x, y))) {
                white |= QRect(x, y, 1, 1);
                ++count;
            }
        }
    }
    QVERIFY2(count > 150, "the message is missing");
    QVERIFY2(white.bottom() <= first_control_row - 15,
             qPrintable(QStringLiteral("text ends at row %1").arg(white.bottom())));
    QVERIFY2(text_box.contains(white), qPrintable(QStringLiteral("text spans %1,%2 to %3,%4")
                                                      .arg(white.left())
                                                      .arg(white.top())
                                                      .arg(white.right())
                                                      .arg(white.bottom())));
    // Centred: the same margin left and right of the box, give or take a few pixels.
    QVERIFY(qAbs((white.left() - text_box.left()) - (text_box.right() - white.right())) <= 4);
}

void PicturesTest::backgroundGradientPassesThroughTheGivenColours() {
    const QImage image = image_of("$this.BackgroundImage");
    QCOMPARE(image.size(), QSize(800, 600));
    const struct {
        QPoint at;
        QColor expected;
    } samples[] = {
        {{280, 20}, QColor(0x41, 0x64, 0xFE)}, {{0, 0}, QColor(0x31, 0x50, 0xD0)},
        {{799, 0}, QColor(0x21, 0x3C, 0xA6)},  {{400, 300}, QColor(0x2F, 0x4D, 0xCB)},
        {{0, 599}, QColor(0x1A, 0x34, 0x93)},  {{799, 599}, QColor(0x12, 0x29, 0x7C)},
    };
    for (const auto& sample : samples) {
        const QColor seen = mean_around(image, sample.at.x(), sample.at.y());
        const QString where = QStringLiteral("at %1,%2: %3 against %4")
                                  .arg(sample.at.x())
                                  .arg(sample.at.y())
                                  .arg(seen.name(), sample.expected.name());
        QVERIFY2(qAbs(seen.red() - sample.expected.red()) <= 4, qPrintable(where));
        QVERIFY2(qAbs(seen.green() - sample.expected.green()) <= 4, qPrintable(where));
        QVERIFY2(qAbs(seen.blue() - sample.expected.blue()) <= 4, qPrintable(where));
    }
    // Nothing is lighter than the light spot: the brightest blue lies near it.
    QPoint brightest;
    int most = -1;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            if (qBlue(image.pixel(x, y)) > most) {
                most = qBlue(image.pixel(x, y));
                brightest = QPoint(x, y);
            }
        }
    }
    QVERIFY2(
        (brightest - QPoint(280, 20)).manhattanLength() <= 40,
        qPrintable(QStringLiteral("brightest at %1,%2").arg(brightest.x()).arg(brightest.y())));
}

void PicturesTest::helpPictureKeepsTheBackgroundWhereNothingIsDrawn() {
    const QImage background = image_of("$this.BackgroundImage");
    const QImage help = image_of("pictureBox_help_background.Image");
    QCOMPARE(help.size(), background.size());

    // Margins and the gaps between text and figures; the Continue button covers the bottom band.
    const QRect empty[] = {
        {0, 0, 40, 600},      {760, 0, 40, 600},  {0, 0, 800, 17},
        {310, 125, 310, 225}, {0, 120, 100, 230}, {0, 440, 800, 160},
    };
    for (const QRect& region : empty) {
        for (int y = region.top(); y <= region.bottom(); ++y) {
            for (int x = region.left(); x <= region.right(); ++x) {
                if (help.pixel(x, y) != background.pixel(x, y)) {
                    QFAIL(qPrintable(
                        QStringLiteral("help differs from the background at %1,%2").arg(x).arg(y)));
                }
            }
        }
    }
    // The figures and paragraphs are really there.
    QCOMPARE(QColor(help.pixel(650, 240)), QColor(0x7F, 0xFF, 0xFF)); // inside the cage
    int drawn_in_board = 0;
    for (int y = 142; y < 328; ++y) {
        for (int x = 111; x < 296; ++x) {
            drawn_in_board += help.pixel(x, y) != background.pixel(x, y);
        }
    }
    QVERIFY(drawn_in_board > 185 * 185 * 9 / 10);
    int white_in_text = 0;
    for (int y = 19; y <= 109; ++y) {
        for (int x = 45; x <= 744; ++x) {
            white_in_text += is_white(help.pixel(x, y));
        }
    }
    QVERIFY2(white_in_text > 2000, "the first paragraph is missing");
}

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
