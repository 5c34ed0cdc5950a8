#pragma once
// Small helpers for tests that need files on disk.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>

namespace testfiles {

inline void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

inline QByteArray jpeg(int w = 8, int h = 6)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(200, 30, 40));
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG");
    return out;
}

}  // namespace testfiles
