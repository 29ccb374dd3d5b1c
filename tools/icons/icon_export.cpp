// Writes each image of the window icon (.ico) as a PNG in the hicolor layout:
// DIR/NxN/apps/NAME.png.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QMap>

#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "icon_export: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() < 5) {
        return fail("usage: icon_export ICON.ico OUTPUT_DIR NAME SIZE...");
    }
    const QString icon_path = args.at(1);
    const QDir output(args.at(2));
    const QString name = args.at(3);

    QList<int> wanted;
    for (qsizetype i = 4; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size <= 0) {
            return fail(QStringLiteral("'%1' is not a size in pixels").arg(args.at(i)));
        }
        wanted.append(size);
    }

    // Every square image the file holds, by its size; the first of a size wins.
    QImageReader reader(icon_path, "ico");
    QMap<int, QImage> images;
    for (int index = 0; index < reader.imageCount(); ++index) {
        if (!reader.jumpToImage(index)) {
            break;
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            return fail(QStringLiteral("cannot read image %1 of %2: %3")
                            .arg(index)
                            .arg(icon_path, reader.errorString()));
        }
        if (image.width() == image.height() && !images.contains(image.width())) {
            images.insert(image.width(), image.convertToFormat(QImage::Format_ARGB32));
        }
    }
    if (images.isEmpty()) {
        return fail(QStringLiteral("no images in %1: %2").arg(icon_path, reader.errorString()));
    }

    // Only sizes that were drawn are written: a missing one is an error, never an upscale.
    for (const int size : wanted) {
        const auto found = images.constFind(size);
        if (found == images.constEnd()) {
            return fail(QStringLiteral("%1 holds no %2 x %2 image").arg(icon_path).arg(size));
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!output.mkpath(folder)) {
            return fail(QStringLiteral("cannot create %1").arg(output.filePath(folder)));
        }
        const QString path = output.filePath(folder + "/" + name + ".png");
        QImageWriter writer(path, "png");
        if (!writer.write(*found)) {
            return fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
        }
    }
    return 0;
}
