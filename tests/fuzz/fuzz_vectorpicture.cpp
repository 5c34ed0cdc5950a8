// The check of a pack's SVG pictures on arbitrary bytes: it ends, and what it
// accepts is a well-formed document whose references stay inside it.
#include "core/VectorPicture.h"

#include <QXmlStreamReader>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray svg(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!vectorpicture::fault(svg).isEmpty())
        return 0;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        for (const QXmlStreamAttribute &a : xml.attributes()) {
            const QString value = a.value().toString().trimmed();
            if (a.name() == QLatin1String("href") && !value.startsWith(QLatin1Char('#')) &&
                !value.startsWith(QLatin1String("data:image/png"), Qt::CaseInsensitive) &&
                !value.startsWith(QLatin1String("data:image/jp"), Qt::CaseInsensitive))
                std::abort();
        }
    }
    if (xml.hasError())
        std::abort();
    return 0;
}
