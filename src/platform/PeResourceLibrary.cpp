#include "platform/PeResourceLibrary.h"

#include "platform/BoundedFile.h"
#include "platform/Dib.h"
#include "platform/InputLimits.h"

#include <QFile>
#include <QFileInfo>

namespace platform
{
namespace
{

constexpr int RT_BITMAP = 2;
constexpr int RT_STRING = 6;
// Media.dll holds a few dozen resources; this bound only stops a directory
// whose entries point at each other from multiplying without end.
constexpr int MaxEntries = 1 << 16;

[[noreturn]] void fail(const QString &what)
{
    throw EResourceError(QStringLiteral("Damaged resource library: %1").arg(what).toStdString());
}

QString indexKey(const QString &typeKey, const QString &nameKey)
{
    return typeKey + QChar(0) + nameKey;
}

struct Section {
    std::uint32_t va = 0;
    std::uint32_t extent = 0; // bytes present in the file
    std::int64_t fileOffset = 0;
};

class Parser
{
  public:
    explicit Parser(const QByteArray &image)
        : data_(reinterpret_cast<const unsigned char *>(image.constData())), size_(image.size())
    {
    }

    std::vector<PeResourceLibrary::Entry> run()
    {
        if (size_ < 64 || data_[0] != 'M' || data_[1] != 'Z')
            fail(QStringLiteral("not an executable image"));
        const std::int64_t pe = u32(0x3C);
        if (u32(pe) != 0x00004550)
            fail(QStringLiteral("no PE signature"));
        const std::int64_t coff = pe + 4;
        const int sectionCount = u16(coff + 2);
        const std::int64_t optionalSize = u16(coff + 16);
        const std::int64_t optional = coff + 20;
        const int magic = u16(optional);
        std::int64_t countAt = 0;
        if (magic == 0x10B)
            countAt = optional + 92;
        else if (magic == 0x20B)
            countAt = optional + 108;
        else
            fail(QStringLiteral("unknown optional header"));
        const std::uint32_t directoryCount = u32(countAt);
        const std::int64_t directories = countAt + 4;
        if (directoryCount <= 2 || directories + 3 * 8 > optional + optionalSize)
            return {}; // no resource directory at all
        const std::uint32_t resourceRva = u32(directories + 2 * 8);

        const std::int64_t sectionTable = optional + optionalSize;
        for (int i = 0; i < sectionCount; ++i) {
            const std::int64_t s = sectionTable + std::int64_t(i) * 40;
            Section sec;
            const std::uint32_t virtualSize = u32(s + 8);
            sec.va = u32(s + 12);
            const std::uint32_t rawSize = u32(s + 16);
            sec.fileOffset = u32(s + 20);
            std::int64_t extent = virtualSize ? std::min(virtualSize, rawSize) : rawSize;
            extent = std::min<std::int64_t>(extent, std::max<std::int64_t>(0, size_ - sec.fileOffset));
            sec.extent = std::uint32_t(extent);
            sections_.push_back(sec);
        }
        if (resourceRva == 0)
            return {};
        base_ = resourceRva;
        directory(0, 0, {}, {});
        return std::move(entries_);
    }

  private:
    std::uint32_t u32(std::int64_t at) const
    {
        if (at < 0 || at > size_ - 4)
            fail(QStringLiteral("header is cut short"));
        return std::uint32_t(data_[at]) | std::uint32_t(data_[at + 1]) << 8 |
               std::uint32_t(data_[at + 2]) << 16 | std::uint32_t(data_[at + 3]) << 24;
    }
    std::uint16_t u16(std::int64_t at) const
    {
        if (at < 0 || at > size_ - 2)
            fail(QStringLiteral("header is cut short"));
        return std::uint16_t(data_[at] | data_[at + 1] << 8);
    }

    // File offset of length bytes at a relative virtual address.
    std::int64_t map(std::uint64_t rva, std::uint64_t length) const
    {
        for (const Section &s : sections_) {
            if (rva >= s.va && rva - s.va <= s.extent && length <= s.extent - (rva - s.va))
                return s.fileOffset + std::int64_t(rva - s.va);
        }
        fail(QStringLiteral("address %1 is outside the file").arg(rva));
    }
    std::uint32_t resU32(std::uint64_t offset) const { return u32(map(base_ + offset, 4)); }
    std::uint16_t resU16(std::uint64_t offset) const { return u16(map(base_ + offset, 2)); }

    QString entryName(std::uint32_t field) const
    {
        if (!(field & 0x80000000u))
            return PeResourceLibrary::keyOf(int(field & 0xFFFF));
        const std::uint32_t offset = field & 0x7FFFFFFFu;
        const std::uint16_t length = resU16(offset);
        const std::int64_t at = map(std::uint64_t(base_) + offset + 2, std::uint64_t(length) * 2);
        QString name(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            name[i] = QChar(u16(at + 2 * i));
        return name;
    }

    void directory(std::uint32_t offset, int level, const QString &type, const QString &name)
    {
        const int count = resU16(offset + 12) + resU16(offset + 14);
        for (int i = 0; i < count; ++i) {
            if (++visited_ > MaxEntries)
                fail(QStringLiteral("too many directory entries"));
            const std::uint64_t entry = std::uint64_t(offset) + 16 + std::uint64_t(i) * 8;
            const std::uint32_t nameField = resU32(entry);
            const std::uint32_t target = resU32(entry + 4);
            const bool isDirectory = target & 0x80000000u;
            if (isDirectory != (level < 2))
                fail(QStringLiteral("resource directory nesting is wrong"));
            if (level == 0) {
                directory(target & 0x7FFFFFFFu, 1, entryName(nameField), {});
            } else if (level == 1) {
                directory(target & 0x7FFFFFFFu, 2, type, entryName(nameField));
            } else {
                PeResourceLibrary::Entry e;
                e.type = type;
                e.name = name;
                e.language = std::uint16_t(nameField & 0xFFFF);
                e.rva = resU32(target);
                e.size = resU32(std::uint64_t(target) + 4);
                e.fileOffset = map(e.rva, e.size);
                entries_.push_back(std::move(e));
            }
        }
    }

    const unsigned char *data_;
    std::int64_t size_;
    std::vector<Section> sections_;
    std::uint32_t base_ = 0;
    int visited_ = 0;
    std::vector<PeResourceLibrary::Entry> entries_;
};

} // namespace

PeResourceLibrary::PeResourceLibrary(const QByteArray &image) : image_(image)
{
    entries_ = Parser(image_).run();
    // Several languages of one name: the first listed wins, as there is no
    // thread language to match. Walking backwards lets the first overwrite the rest.
    for (int i = int(entries_.size()) - 1; i >= 0; --i) {
        const Entry &e = entries_[std::size_t(i)];
        index_.insert(indexKey(keyOf(e.type), keyOf(e.name)), i);
    }
    loaded_ = true;
}

PeResourceLibrary PeResourceLibrary::fromFile(const QString &path)
{
    PeResourceLibrary library;
    library.fileName_ = path;
    const BoundedRead read = readBoundedFile(path, limits::MaxMediaLibraryBytes);
    if (!read.ok()) {
        library.error_ = QStringLiteral("Cannot open %1").arg(read.detail);
        return library;
    }
    try {
        PeResourceLibrary loaded(read.bytes);
        loaded.fileName_ = path;
        return loaded;
    } catch (const EResourceError &e) {
        library.error_ = QStringLiteral("%1: %2").arg(path, QString::fromStdString(e.what()));
    }
    return library;
}

QString PeResourceLibrary::keyOf(const QString &name)
{
    if (name.startsWith(QLatin1Char('#')) && name.size() > 1) {
        bool ok = false;
        const uint id = name.mid(1).toUInt(&ok, 10);
        if (ok && id <= 0xFFFF)
            return keyOf(int(id));
    }
    return name.toUpper();
}

QString PeResourceLibrary::keyOf(int id)
{
    return QLatin1Char('#') + QString::number(id);
}

const PeResourceLibrary::Entry *PeResourceLibrary::find(const QString &typeKey, const QString &nameKey) const
{
    const auto it = index_.constFind(indexKey(typeKey, nameKey));
    return it == index_.constEnd() ? nullptr : &entries_[std::size_t(*it)];
}

QImage PeResourceLibrary::bitmap(const QString &nameKey, const QString &shown) const
{
    if (!loaded_)
        throw EResourceError(QStringLiteral("Cannot load bitmap %1: the resource library is not loaded (%2)")
                                 .arg(shown, error_)
                                 .toStdString());
    const Entry *e = find(keyOf(RT_BITMAP), nameKey);
    if (!e)
        throw EResourceError(QStringLiteral("Bitmap %1 not found in %2").arg(shown, fileName_).toStdString());
    try {
        // Decoded in place: a copy of the start screen's picture alone is over
        // a megabyte, made and freed on the way to the first paint.
        if (e->fileOffset >= 0 && e->fileOffset + std::int64_t(e->size) <= image_.size())
            return decodeDib(QByteArray::fromRawData(image_.constData() + e->fileOffset, qsizetype(e->size)));
        return decodeDib(data(*e));
    } catch (const EDibError &err) {
        throw EResourceError(QStringLiteral("Bitmap %1 in %2: %3")
                                 .arg(shown, fileName_, QString::fromStdString(err.what()))
                                 .toStdString());
    }
}

QImage PeResourceLibrary::loadBitmap(const QString &name) const
{
    return bitmap(keyOf(name), QLatin1Char('"') + name + QLatin1Char('"'));
}

QImage PeResourceLibrary::loadBitmap(int id) const
{
    return bitmap(keyOf(id), QString::number(id));
}

QString PeResourceLibrary::loadString(int id) const
{
    if (id < 0 || id > 0xFFFF)
        return {};
    const Entry *e = find(keyOf(RT_STRING), keyOf((id >> 4) + 1));
    if (!e)
        return {};
    // A block holds sixteen counted UTF-16 strings, ids block*16-16 onwards.
    const QByteArray block = data(*e);
    const auto *p = reinterpret_cast<const unsigned char *>(block.constData());
    const qsizetype size = block.size();
    qsizetype at = 0;
    for (int i = 0; i < 16; ++i) {
        if (at + 2 > size)
            return {};
        const int length = p[at] | p[at + 1] << 8;
        at += 2;
        if (length > (size - at) / 2)
            return {};
        if (i == (id & 15)) {
            QString text(length, Qt::Uninitialized);
            for (int c = 0; c < length; ++c)
                text[c] = QChar(char16_t(p[at + 2 * c] | p[at + 2 * c + 1] << 8));
            return text;
        }
        at += 2 * qsizetype(length);
    }
    return {};
}

QByteArray PeResourceLibrary::findResource(const QString &type, const QString &name) const
{
    const Entry *e = find(keyOf(type), keyOf(name));
    return e ? data(*e) : QByteArray();
}

QByteArray PeResourceLibrary::findResource(int type, int id) const
{
    const Entry *e = find(keyOf(type), keyOf(id));
    return e ? data(*e) : QByteArray();
}

QByteArray PeResourceLibrary::findResource(int type, const QString &name) const
{
    const Entry *e = find(keyOf(type), keyOf(name));
    return e ? data(*e) : QByteArray();
}

} // namespace platform
