// The INI reader and the catalogue loader on arbitrary text: either records
// or one of the loader's own errors, and every record findable by its id.
#include "core/Catalogue.h"
#include "core/Errors.h"
#include "platform/IniFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto ini = platform::IniFile::fromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
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
    if (catalogue.Count() > sections.size())
        std::abort();
    for (const auto &p : catalogue.Items()) {
        const TProblem *found = catalogue.FindProblem(p->Id);
        if (!found || found->Id != p->Id)
            std::abort();
        if (!p->ImagePath.startsWith(QStringLiteral("/game/Images/")) ||
            !p->DataPath.startsWith(QStringLiteral("/game/Data/")))
            std::abort();
    }
    catalogue.FreeCatalogue();
    return 0;
}
