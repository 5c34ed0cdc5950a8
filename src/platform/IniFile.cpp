#include "platform/IniFile.h"

#include "platform/Codepage.h"

#include <QFile>
#include <QHash>
#include <limits>

namespace platform {

namespace {

// Names compare without regard to case. Most names are ASCII, where a plain
// lower-casing is the fold and much cheaper.
QString fold(QStringView name)
{
    for (QChar c : name)
        if (c.unicode() >= 0x80)
            return name.toString().toCaseFolded();
    return name.toString().toLower();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView trimmed(QByteArrayView v)
{
    qsizetype b = 0, e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

}  // namespace

struct IniFile::Section {
    QString name;
    QString folded;
    struct Entry {
        QString folded;
        QString value;
    };
    std::vector<Entry> entries;
    // Folded key -> position; only for sections too long for a plain scan.
    QHash<QString, int> index;

    const Entry *find(const QString &foldedKey) const
    {
        if (!index.isEmpty()) {
            auto it = index.constFind(foldedKey);
            return it == index.constEnd() ? nullptr : &entries[std::size_t(*it)];
        }
        for (const Entry &e : entries)
            if (e.folded == foldedKey)
                return &e;
        return nullptr;
    }
    void add(Entry e)
    {
        entries.push_back(std::move(e));
        if (!index.isEmpty() || entries.size() > 16) {
            if (index.isEmpty())
                for (std::size_t i = 0; i + 1 < entries.size(); ++i)
                    index.insert(entries[i].folded, int(i));
            index.insert(entries.back().folded, int(entries.size() - 1));
        }
    }
};

IniFile::~IniFile() = default;
IniFile::IniFile(IniFile &&) noexcept = default;
IniFile &IniFile::operator=(IniFile &&) noexcept = default;

IniFile IniFile::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return IniFile();
    return fromBytes(file.readAll());
}

IniFile IniFile::fromBytes(const QByteArray &bytes)
{
    IniFile ini;
    QByteArrayView text(bytes);
    bool utf8 = false;
    if (text.startsWith("\xEF\xBB\xBF")) {
        utf8 = true;
        text = text.sliced(3);
    }
    auto decode = [utf8](QByteArrayView v) {
        return utf8 ? QString::fromUtf8(v) : fromCp1251(v.toByteArray());
    };

    Section *current = nullptr;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf('\n', pos);
        if (end < 0)
            end = text.size();
        QByteArrayView line = trimmed(text.sliced(pos, end - pos));
        pos = end + 1;
        if (line.isEmpty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            qsizetype close = line.indexOf(']');
            QByteArrayView name = trimmed(close < 0 ? line.sliced(1) : line.sliced(1, close - 1));
            Section s;
            s.name = decode(name);
            s.folded = fold(s.name);
            // A repeated section name reads the first section of that name.
            if (!ini.firstByName_.contains(s.folded))
                ini.firstByName_.insert(s.folded, ini.sections_.size());
            ini.sections_.push_back(std::move(s));
            current = &ini.sections_.back();
            continue;
        }
        qsizetype eq = line.indexOf('=');
        if (eq < 0 || !current)
            continue;
        Section::Entry e;
        e.folded = fold(decode(trimmed(line.first(eq))));
        if (current->find(e.folded))
            continue;  // the first occurrence of a key wins
        e.value = decode(trimmed(line.sliced(eq + 1)));
        current->add(std::move(e));
    }
    return ini;
}

bool IniFile::isEmpty() const
{
    return sections_.empty();
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    names.reserve(qsizetype(sections_.size()));
    for (const Section &s : sections_)
        names.append(s.name);
    return names;
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    auto it = firstByName_.constFind(fold(section));
    if (it == firstByName_.constEnd())
        return std::nullopt;
    if (const Section::Entry *e = sections_[*it].find(fold(key)))
        return e->value;
    return std::nullopt;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return value(section, key).has_value();
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    return value(section, key).value_or(def);
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const auto v = value(section, key);
    if (!v)
        return def;
    return parseInteger(*v).value_or(def);
}

std::optional<int> IniFile::parseInteger(const QString &text)
{
    QStringView s = QStringView(text).trimmed();
    bool negative = false;
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+')) {
        negative = s[0] == u'-';
        s = s.sliced(1);
    }
    int base = 10;
    if (s.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        s = s.sliced(2);
    } else if (s.startsWith(u'$')) {
        base = 16;
        s = s.sliced(1);
    }
    if (s.isEmpty())
        return std::nullopt;
    // Hexadecimal covers the whole 32-bit pattern ($FFFFFFFF is -1);
    // decimal must fit a signed 32-bit number.
    const unsigned long long limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    unsigned long long v = 0;
    for (QChar c : s) {
        int d;
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9')
            d = u - '0';
        else if (base == 16 && u >= 'a' && u <= 'f')
            d = u - 'a' + 10;
        else if (base == 16 && u >= 'A' && u <= 'F')
            d = u - 'A' + 10;
        else
            return std::nullopt;
        v = v * unsigned(base) + unsigned(d);
        if (v > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(v);
    return static_cast<int>(negative ? 0u - bits : bits);
}

}  // namespace platform
