#include "core/DataFile.h"

#include "core/HintBlock.h"
#include "platform/Codepage.h"

#include <QtEndian>

namespace
{

void appendInt32(QByteArray &out, std::int32_t value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    out.append(raw, 4);
}

} // namespace

QByteArray encodeDataFile(const PuzzleDataFile &file)
{
    QByteArray out;
    out.reserve(64 + file.statement.size() + file.solution.size());
    out.append(char(DataFileMagic));
    appendInt32(out, std::int32_t(file.statement.size()));
    out.append(file.statement);
    out.append(char(file.kind));
    out.append(reinterpret_cast<const char *>(file.answer.bytes.data()), AnswerValue::Size);
    const int count = std::min<int>(int(file.lines.size()), 255);
    out.append(char(count));
    for (int i = 0; i < count; ++i) {
        const QByteArray text = platform::toCp1251(file.lines.at(i)).left(254);
        out.append(char(text.size() + 1));
        out.append(char(text.size()));
        out.append(text);
    }
    appendInt32(out, std::int32_t(file.solution.size()));
    out.append(file.solution);
    appendHintBlock(out, file.hints);
    return out;
}

namespace
{

// The reader drops one pair of enclosing quotes, so a value that is itself
// quoted gets a pair more to keep its own.
QString iniValue(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

} // namespace

QByteArray encodeCatalogue(const std::vector<CatalogueEntry> &entries)
{
    QString text;
    for (const CatalogueEntry &e : entries) {
        text += QStringLiteral("[%1]\r\n").arg(e.id);
        text += QStringLiteral("Difficult=%1\r\n").arg(e.difficult);
        text += QStringLiteral("Name=%1\r\n").arg(iniValue(e.name));
        text += QStringLiteral("ImageFN=%1\r\n").arg(e.imageFile);
        text += QStringLiteral("DataFN=%1\r\n").arg(e.dataFile);
        text += QStringLiteral("\r\n");
    }
    return platform::toCp1251(text);
}
