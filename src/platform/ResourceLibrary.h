#pragma once
// The game's resource library (Media.dll): bitmaps by name or number, strings
// by number, raw resources by type and name. Names match without regard to case.
#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <stdexcept>

namespace platform {

class EResourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IResourceLibrary {
public:
    virtual ~IResourceLibrary() = default;
    // Raise EResourceError when the bitmap is missing or cannot be decoded.
    virtual QImage loadBitmap(const QString &name) const = 0;
    virtual QImage loadBitmap(int id) const = 0;
    // Empty when missing.
    virtual QString loadString(int id) const = 0;
    // Empty when missing.
    virtual QByteArray findResource(const QString &type, const QString &name) const = 0;
};

// In-memory library for tests and tools.
class FakeResourceLibrary : public IResourceLibrary {
public:
    void addBitmap(const QString &name, const QImage &image) { named_.insert(name.toUpper(), image); }
    void addBitmap(int id, const QImage &image) { numbered_.insert(id, image); }
    void addString(int id, const QString &text) { strings_.insert(id, text); }
    void addResource(const QString &type, const QString &name, const QByteArray &data)
    {
        raw_.insert(type.toUpper() + QLatin1Char('/') + name.toUpper(), data);
    }

    QImage loadBitmap(const QString &name) const override;
    QImage loadBitmap(int id) const override;
    QString loadString(int id) const override { return strings_.value(id); }
    QByteArray findResource(const QString &type, const QString &name) const override
    {
        return raw_.value(type.toUpper() + QLatin1Char('/') + name.toUpper());
    }

private:
    QHash<QString, QImage> named_;
    QHash<int, QImage> numbered_;
    QHash<int, QString> strings_;
    QHash<QString, QByteArray> raw_;
};

// The process-wide media library, set by start-up; null until then.
IResourceLibrary *mediaLibrary();
void setMediaLibrary(IResourceLibrary *library);

// A named bitmap of the library. EResourceError when there is no library
// ("Resource <name> not found") or the library cannot give it (its own message,
// which says where it looked and what was wrong).
QImage loadBitmapFrom(const IResourceLibrary *library, const QString &name);

}  // namespace platform
