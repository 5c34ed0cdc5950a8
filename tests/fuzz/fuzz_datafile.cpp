// The data-file loader on arbitrary bytes: it either loads or raises ELoadError,
// and a loaded record answers its own right answer.
#include "core/Errors.h"
#include "core/Problem.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TProblem p(1, 0, QString(), QString(), QStringLiteral("fuzz.dat"));
    try {
        p.LoadDataFromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const ELoadError &) {
        if (p.Loaded)
            std::abort();
        p.UnloadData();
        return 0;
    }
    if (!p.Loaded)
        std::abort();
    // Comparisons read only inside the record whatever its bytes say.
    const bool self = answersMatch(p.AnswerKind, p.AnswerData, p.AnswerData);
    if (p.AnswerKind == AnswerInteger || p.AnswerKind == AnswerTime) {
        if (p.AnswerKind == AnswerInteger && !self)
            std::abort();
    } else if (p.AnswerKind > AnswerNumbers && self) {
        std::abort();
    }
    for (const QString &line : p.Lines)
        if (line.size() > 254)
            std::abort();
    (void)p.CheckAnswer(nullptr, AnswerValue::fromText(p.Lines.value(0)));
    p.UnloadData();
    return 0;
}
