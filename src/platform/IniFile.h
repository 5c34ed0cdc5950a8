#pragma once
// A reader with the visible behaviour of the Windows INI service: sections in
// file order, case-insensitive section and key names, trimmed names and
// values, one pair of enclosing quotes dropped from a value, the first
// occurrence of a key wins, ';' comments, CRLF or LF, Windows-1251 text
// (UTF-8 after a byte-order mark).
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace platform
{

class IniFile
{
  public:
    // Empty (no sections) when the file cannot be read.
    static IniFile fromFile(const QString &path);
    static IniFile fromBytes(const QByteArray &bytes);

    bool isEmpty() const;
    QStringList sectionNames() const;
    bool hasKey(const QString &section, const QString &key) const;
    std::optional<QString> value(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &def = {}) const;
    // Decimal, or hex after "0x" or "$", optional sign; anything else gives def.
    int readInteger(const QString &section, const QString &key, int def) const;

    // The same by position in sectionNames(), for readers that walk every
    // section: a repeated name still reads the first section of that name.
    int sectionCount() const;
    std::optional<QString> valueAt(int section, const QString &key) const;

    static std::optional<int> parseInteger(QStringView text);
    static std::optional<int> parseInteger(const QString &text) { return parseInteger(QStringView(text)); }

  private:
    struct Section;
    struct Entry;
    std::vector<Section> sections_;
    std::vector<Entry> entries_;      // of all sections, in file order
    QHash<QString, int> firstByName_; // folded name -> first section of that name
    IniFile() = default;
    const Entry *find(const Section &section, const QString &key) const;

  public:
    ~IniFile();
    IniFile(IniFile &&) noexcept;
    IniFile &operator=(IniFile &&) noexcept;
};

} // namespace platform
