// The check of a pack's SVG pictures on arbitrary bytes: it ends, and what it
// accepts names nothing outside itself.
#include "core/VectorPicture.h"

#include <QRegularExpression>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray svg(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!vectorpicture::fault(svg).isEmpty())
        return 0;
    // An accepted picture holds no file or address reference in any form the
    // renderer would follow.
    static const QRegularExpression outside(QStringLiteral(R"(href\s*=\s*["']\s*(file:|https?:|/))"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (outside.match(QString::fromUtf8(svg)).hasMatch())
        std::abort();
    return 0;
}
