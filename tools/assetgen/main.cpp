// Builds the game's media at build time: pictures from SVG, cursors' PNGs and
// synthesized sounds. Every output is byte-identical from build to build.
#include "bitmap.h"
#include "synth.h"

#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

namespace
{

int usage()
{
    std::fprintf(stderr,
                 "usage: zentrika-assetgen render IN.svg OUT.bmp WIDTH HEIGHT [FONT.ttf...]\n"
                 "       zentrika-assetgen png IN.svg OUT.png WIDTH HEIGHT [FONT.ttf...]\n"
                 "       zentrika-assetgen wave NAME OUT.wav\n"
                 "sounds: %s\n",
                 qPrintable(assetgen::soundNames().join(QLatin1Char(' '))));
    return 2;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
        return false;
    }
    return true;
}

bool parseSize(const char *text, int *value)
{
    bool ok = false;
    *value = QByteArray(text).toInt(&ok);
    return ok && *value > 0;
}

int picture(const QStringList &args, bool bmp)
{
    int w = 0, h = 0;
    if (args.size() < 5 || !parseSize(args[3].toLocal8Bit().constData(), &w) ||
        !parseSize(args[4].toLocal8Bit().constData(), &h))
        return usage();
    QString error;
    if (!assetgen::addFonts(args.mid(5), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QImage image = assetgen::renderSvg(args[1], w, h, !bmp, &error);
    if (image.isNull()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (bmp)
        return writeFile(args[2], assetgen::encodeBmp24(image)) ? 0 : 1;
    QSaveFile file(args[2]);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "%s: cannot write\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}

int wave(const QStringList &args)
{
    if (args.size() != 3)
        return usage();
    const std::vector<double> samples = assetgen::synthesize(args[1]);
    if (samples.empty()) {
        std::fprintf(stderr, "%s: unknown sound\n", qPrintable(args[1]));
        return usage();
    }
    return writeFile(args[2], assetgen::encodeWave(samples)) ? 0 : 1;
}

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // A build machine seldom has a session's runtime folder; that is no news.
    if (type == QtDebugMsg || message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietHandler);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usage();
    const QString command = args[0];
    if (command == QLatin1String("wave"))
        return wave(args);
    // Rendering needs no display; the offscreen platform keeps builds headless.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (command == QLatin1String("render"))
        return picture(args, true);
    if (command == QLatin1String("png"))
        return picture(args, false);
    return usage();
}
