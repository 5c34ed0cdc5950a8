#pragma once
// The game's resource library read straight from a Windows PE file (Media.dll):
// the resource directory is walked once at load and indexed by type and name.
// Every offset is checked against the file, so a damaged file is refused at
// load (or its damaged resource reported at use), never read out of bounds.
#include "platform/ResourceLibrary.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

namespace platform
{

class PeResourceLibrary : public IResourceLibrary
{
  public:
    // One resource as the directory lists it (the first language of each name).
    struct Entry {
        QString type; // "#2" for numbered types, else the name as stored
        QString name; // "#101" for numbered names, else the name as stored
        std::uint16_t language = 0;
        std::uint32_t rva = 0;
        std::int64_t fileOffset = 0;
        std::uint32_t size = 0;
    };

    // Not loaded: every lookup fails as for a missing resource.
    PeResourceLibrary() = default;
    // Raises EResourceError when the bytes are not a PE file with a well-formed resource directory.
    explicit PeResourceLibrary(const QByteArray &image);
    // Reads the file; a missing or damaged file leaves the library not loaded
    // (errorString() says why), as a failed LoadLibrary leaves a null handle.
    static PeResourceLibrary fromFile(const QString &path);

    bool isLoaded() const { return loaded_; }
    QString errorString() const { return error_; }
    QString fileName() const { return fileName_; }
    const std::vector<Entry> &entries() const { return entries_; }
    QByteArray data(const Entry &entry) const { return image_.mid(entry.fileOffset, entry.size); }

    QImage loadBitmap(const QString &name) const override;
    QImage loadBitmap(int id) const override;
    QString loadString(int id) const override;
    QByteArray findResource(const QString &type, const QString &name) const override;
    // By numbered type and name, as MAKEINTRESOURCE gives them.
    QByteArray findResource(int type, int id) const;
    QByteArray findResource(int type, const QString &name) const;

    // The key a type or name is indexed by: "#<number>" for numbers (a name
    // written "#123" means number 123, as on Windows), else the upper-case name.
    static QString keyOf(const QString &name);
    static QString keyOf(int id);

  private:
    const Entry *find(const QString &typeKey, const QString &nameKey) const;
    QImage bitmap(const QString &nameKey, const QString &shown) const;

    bool loaded_ = false;
    QString error_;
    QString fileName_;
    QByteArray image_;
    std::vector<Entry> entries_;
    QHash<QString, int> index_; // typeKey + '/' + nameKey -> entries_
};

} // namespace platform
