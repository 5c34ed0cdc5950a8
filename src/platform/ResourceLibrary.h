#pragma once
// The game's resource library (Media.dll): bitmaps by name or number, strings
// by number, raw resources by type and name. Names match without regard to case.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <stdexcept>

namespace platform
{

class EResourceError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

class IResourceLibrary
{
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

// A named bitmap of the library. EResourceError "Resource <name> not found"
// when there is no library or the library cannot give it.
QImage loadBitmapFrom(const IResourceLibrary *library, const QString &name);

} // namespace platform
