#include "platform/IniFile.h"

#include "platform/Codepage.h"

#include <QFile>
#include <QHash>

namespace platform
{

namespace
{

// Names compare without regard to case. Most names are ASCII, where a plain
// lower-casing is the fold, and an already lower-case name needs no copy.
QString fold(const QString &name)
{
    bool lower = true;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return name.toCaseFolded();
        if (u >= 'A' && u <= 'Z')
            lower = false;
    }
    return lower ? name : name.toLower();
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

// A value in matching single or double quotes is read without them, as the
// Windows service reads it; only the one enclosing pair goes.
QByteArrayView unquoted(QByteArrayView v)
{
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v[v.size() - 1] == v[0])
        return v.sliced(1, v.size() - 2);
    return v;
}

bool sameName(const QString &a, const QString &b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// Sections longer than this get a hash of their keys.
constexpr int kScanLimit = 16;

} // namespace

struct IniFile::Entry {
    QString key;
    QString value;
};

struct IniFile::Section {
    QString name;
    int first = 0; // position of the first entry in entries_
    int count = 0;
    int sameNameAs = -1;       // a repeated name reads this earlier section
    QHash<QString, int> index; // folded key -> entry, for long sections only
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

const IniFile::Entry *IniFile::find(const Section &s, const QString &key) const
{
    if (!s.index.isEmpty()) {
        auto it = s.index.constFind(fold(key));
        return it == s.index.constEnd() ? nullptr : &entries_[std::size_t(*it)];
    }
    for (int i = s.first; i < s.first + s.count; ++i)
        if (sameName(entries_[std::size_t(i)].key, key))
            return &entries_[std::size_t(i)];
    return nullptr;
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
    auto decode = [utf8](QByteArrayView v) { return utf8 ? QString::fromUtf8(v) : fromCp1251(v); };
    // Rough guesses from the size of a typical catalogue line and section.
    ini.entries_.reserve(std::size_t(bytes.size() / 16));
    ini.sections_.reserve(std::size_t(bytes.size() / 96));
    ini.firstByName_.reserve(bytes.size() / 96);

    // Key names repeat in every section; sharing one string per distinct
    // spelling saves an allocation per line.
    std::vector<std::pair<QByteArray, QString>> keyNames;
    auto keyName = [&](QByteArrayView raw) {
        for (const auto &[bytes, name] : keyNames)
            if (bytes == raw)
                return name;
        QString name = decode(raw);
        if (keyNames.size() < 32)
            keyNames.emplace_back(raw.toByteArray(), name);
        return name;
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
            const qsizetype close = line.indexOf(']');
            Section s;
            s.name = decode(trimmed(close < 0 ? line.sliced(1) : line.sliced(1, close - 1)));
            s.first = int(ini.entries_.size());
            const QString folded = fold(s.name);
            auto it = ini.firstByName_.constFind(folded);
            if (it == ini.firstByName_.constEnd())
                ini.firstByName_.insert(folded, int(ini.sections_.size()));
            else
                s.sameNameAs = *it;
            ini.sections_.push_back(std::move(s));
            current = &ini.sections_.back();
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || !current)
            continue;
        QString key = keyName(trimmed(line.first(eq)));
        if (ini.find(*current, key))
            continue; // the first occurrence of a key wins
        ini.entries_.push_back(Entry{std::move(key), decode(unquoted(trimmed(line.sliced(eq + 1))))});
        ++current->count;
        if (current->count > kScanLimit) {
            if (current->index.isEmpty())
                for (int i = current->first; i < current->first + current->count - 1; ++i)
                    current->index.insert(fold(ini.entries_[std::size_t(i)].key), i);
            current->index.insert(fold(ini.entries_.back().key), int(ini.entries_.size() - 1));
        }
    }
    return ini;
}

bool IniFile::isEmpty() const
{
    return sections_.empty();
}

int IniFile::sectionCount() const
{
    return int(sections_.size());
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    names.reserve(qsizetype(sections_.size()));
    for (const Section &s : sections_)
        names.append(s.name);
    return names;
}

std::optional<QString> IniFile::valueAt(int section, const QString &key) const
{
    if (section < 0 || section >= int(sections_.size()))
        return std::nullopt;
    const Section *s = &sections_[std::size_t(section)];
    if (s->sameNameAs >= 0)
        s = &sections_[std::size_t(s->sameNameAs)];
    if (const Entry *e = find(*s, key))
        return e->value;
    return std::nullopt;
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    auto it = firstByName_.constFind(fold(section));
    if (it == firstByName_.constEnd())
        return std::nullopt;
    return valueAt(*it, key);
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

std::optional<int> IniFile::parseInteger(QStringView s)
{
    s = s.trimmed();
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

} // namespace platform
