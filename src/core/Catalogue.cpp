#include "core/Catalogue.h"

#include "core/Errors.h"
#include "core/GamePath.h"
#include "platform/BoundedFile.h"
#include "platform/IniFile.h"
#include "platform/InputLimits.h"

#include <QDir>

namespace
{

// The id a section name stands for: a whole number (decimal, or hexadecimal
// after "0x" or "$"), kept to its low 16 bits.
ProblemId sectionId(const QString &name)
{
    const auto n = platform::IniFile::parseInteger(name);
    if (!n || name.trimmed() != name)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(name));
    return ProblemId(std::uint32_t(*n) & 0xFFFF);
}

} // namespace

namespace
{

// Paths are built on the cleaned absolute folder so that the only ".." or
// empty parts in them can come from the catalogue's own values.
QString baseDir(const QString &programDir)
{
    QString base =
        QDir::cleanPath(QDir(programDir.isEmpty() ? QStringLiteral(".") : programDir).absolutePath());
    if (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

void TCatalogue::LoadCatalogue()
{
    const QString listPath = baseDir(ProgramDir) + QStringLiteral("/list.lst");
    QString found = gamepath::resolve(listPath);
    if (found.isEmpty())
        throw EInternalError(QStringLiteral("The problem list %1 does not exist!").arg(listPath));
    const platform::BoundedRead read = platform::readBoundedFile(found, limits::MaxCatalogueBytes);
    if (!read.ok())
        throw EInternalError(QStringLiteral("The problem list cannot be read: %1").arg(read.detail));
    LoadFromBytes(read.bytes);
}

void TCatalogue::LoadFromBytes(const QByteArray &bytes)
{
    if (bytes.size() > limits::MaxCatalogueBytes)
        throw EInternalError(QStringLiteral("The problem list is %1 bytes; a pack has at most %2")
                                 .arg(bytes.size())
                                 .arg(limits::MaxCatalogueBytes));
    LoadFromIni(platform::IniFile::fromBytes(bytes));
}

void TCatalogue::LoadFromIni(const platform::IniFile &ini)
{
    const QStringList sections = ini.sectionNames();
    if (sections.isEmpty())
        throw EInternalError(QStringLiteral("The problem list holds no problems."));
    if (sections.size() > limits::MaxCatalogueSections)
        throw EInternalError(QStringLiteral("The problem list holds %1 sections; a pack has at most %2")
                                 .arg(sections.size())
                                 .arg(limits::MaxCatalogueSections));
    const QString base = baseDir(ProgramDir);

    static const QString keys[] = {QStringLiteral("Difficult"), QStringLiteral("Name"),
                                   QStringLiteral("ImageFN"), QStringLiteral("DataFN")};
    const QString imagesDir = base + QStringLiteral("/Images");
    const QString dataDir = base + QStringLiteral("/Data");

    items_.reserve(items_.size() + std::size_t(sections.size()));
    for (int i = 0; i < int(sections.size()); ++i) {
        const ProblemId id = sectionId(sections[i]);
        std::optional<QString> values[4];
        for (int k = 0; k < 4; ++k) {
            values[k] = ini.valueAt(i, keys[k]);
            if (!values[k])
                throw EInternalError(
                    QStringLiteral("В задача с Id - %1, отсутствуют некоторые поля.").arg(id));
        }
        const auto difficult = std::uint8_t(platform::IniFile::parseInteger(*values[0]).value_or(1));
        items_.push_back(std::make_unique<TProblem>(id, difficult, *values[1],
                                                    gamepath::join(imagesDir, *values[2]),
                                                    gamepath::join(dataDir, *values[3])));
    }
}

TProblem *TCatalogue::FindProblem(ProblemId id) const
{
    for (const auto &p : items_)
        if (p->Id == id)
            return p.get();
    return nullptr;
}

void TCatalogue::FreeCatalogue()
{
    // In catalogue order, as the records were made.
    for (auto &p : items_)
        p.reset();
    items_.clear();
    items_.shrink_to_fit();
}
