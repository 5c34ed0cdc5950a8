#include "core/DataFile.h"

#include "platform/Codepage.h"

#include <stdexcept>

namespace {

void appendInt32(QByteArray &out, std::int32_t v)
{
    const auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i)
        out.append(char(u >> (8 * i)));
}

}  // namespace

QByteArray encodeDataFile(const DataFileContents &c)
{
    if (c.lines.size() > 255)
        throw std::invalid_argument("a data file holds at most 255 lines");
    QByteArray out;
    out.reserve(c.statement.size() + c.solution.size() + 64);
    out.append('M');
    appendInt32(out, std::int32_t(c.statement.size()));
    out.append(c.statement);
    out.append(char(c.kind));
    out.append(reinterpret_cast<const char *>(c.answer.bytes.data()), AnswerValue::Size);
    out.append(char(c.lines.size()));
    for (const QString &line : c.lines) {
        bool ok = true;
        const QByteArray bytes = platform::toCp1251(line, &ok);
        if (!ok)
            throw std::invalid_argument("a line has characters outside Windows-1251: " + line.toStdString());
        if (bytes.size() > 254)
            throw std::invalid_argument("a line is longer than 254 characters: " + line.toStdString());
        out.append(char(bytes.size() + 1));
        out.append(char(bytes.size()));
        out.append(bytes);
    }
    appendInt32(out, std::int32_t(c.solution.size()));
    out.append(c.solution);
    return out;
}
