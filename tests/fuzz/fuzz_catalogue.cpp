// The INI reader and the catalogue loader on arbitrary text: either records
// or one of the loader's own errors, and every record findable by its id.
//
// An input that starts with 'L' is taken to the size limit of list.lst (one
// byte past it when its second byte is odd), so that the loader meets
// catalogues at and over their limit.
#include "core/Catalogue.h"
#include "core/Errors.h"
#include "platform/IniFile.h"
#include "platform/InputLimits.h"

#include <cstdlib>

namespace
{

// The input, then one comment line that takes the text to the limit: the
// loader parses the input as it stands, and the size check meets its edge
// without a parse of megabytes on every run.
QByteArray atTheLimit(const std::uint8_t *data, std::size_t size)
{
    QByteArray text(reinterpret_cast<const char *>(data) + 2, qsizetype(size) - 2);
    text += "\n;";
    const qsizetype wanted = limits::MaxCatalogueBytes + (data[1] & 1);
    if (text.size() < wanted)
        text.append(QByteArray(wanted - text.size(), 'x'));
    return text;
}

void checkRecords(const TCatalogue &catalogue, qsizetype sections)
{
    if (catalogue.Count() > sections || catalogue.Count() > limits::MaxCatalogueSections)
        std::abort();
    for (const auto &p : catalogue.Items()) {
        const TProblem *found = catalogue.FindProblem(p->Id);
        if (!found || found->Id != p->Id)
            std::abort();
        if (!p->ImagePath.startsWith(QStringLiteral("/game/Images/")) ||
            !p->DataPath.startsWith(QStringLiteral("/game/Data/")))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size >= 2 && data[0] == 'L') {
        const QByteArray text = atTheLimit(data, size);
        TCatalogue catalogue(QStringLiteral("/game"));
        try {
            catalogue.LoadFromBytes(text);
        } catch (const EZentrikaError &) {
        }
        // Over the limit nothing is read at all.
        if (text.size() > limits::MaxCatalogueBytes && catalogue.Count() != 0)
            std::abort();
        checkRecords(catalogue, text.count('['));
        return 0;
    }
    const auto ini =
        platform::IniFile::fromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QStringList sections = ini.sectionNames();
    for (const QString &s : sections) {
        (void)ini.readInteger(s, QStringLiteral("Difficult"), 1);
        (void)ini.readString(s, QStringLiteral("name"));
    }
    TCatalogue catalogue(QStringLiteral("/game"));
    try {
        catalogue.LoadFromIni(ini);
    } catch (const EZentrikaError &) {
    }
    checkRecords(catalogue, sections.size());
    catalogue.FreeCatalogue();
    return 0;
}
