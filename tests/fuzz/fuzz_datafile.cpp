// The data-file loader on arbitrary bytes: it either loads or raises ELoadError,
// and a loaded record answers its own right answer. The same bytes also follow
// a sound puzzle's solution, where only the hint block may read them: that puzzle
// always loads whole, with at most MaxHints hints inside the block's limit.
//
// An input that starts with 'L' gives the texts of a data file instead: its
// bytes repeated to the text limit (one byte past it when the second byte is
// odd), or, with 'F', padding that takes the whole file to its limit or past
// it. The loader must refuse exactly what is over.
#include "core/DataFile.h"
#include "core/Errors.h"
#include "core/HintBlock.h"
#include "core/Problem.h"
#include "platform/InputLimits.h"

#include <cstdlib>

namespace
{

QByteArray repeated(const QByteArray &pattern, qsizetype size)
{
    QByteArray out = pattern.isEmpty() ? QByteArray(1, 'x') : pattern;
    out.reserve(size);
    while (out.size() < size)
        out.append(out.left(size - out.size()));
    return out.left(size);
}

// The bytes to load and whether they are over a limit.
std::pair<QByteArray, bool> limitCase(const std::uint8_t *data, std::size_t size)
{
    const QByteArray rest(reinterpret_cast<const char *>(data) + 2, qsizetype(size) - 2);
    const bool over = data[1] & 1;
    if (data[0] == 'L') {
        PuzzleDataFile f;
        f.lines = {QString::fromLatin1(rest.left(20))};
        f.statement = repeated(rest, limits::MaxTextBytes + (over ? 1 : 0));
        f.solution = rest;
        return {encodeDataFile(f), over};
    }
    QByteArray file = rest;
    if (file.size() < limits::MaxDataFileBytes)
        file.append(QByteArray(limits::MaxDataFileBytes - file.size() + (over ? 1 : 0), '\0'));
    return {file, file.size() > limits::MaxDataFileBytes};
}

void checkHints(const TProblem &p)
{
    if (p.Hints.size() > MaxHints)
        std::abort();
    qsizetype total = 0;
    for (const QByteArray &hint : p.Hints)
        total += 4 + hint.size();
    if (total > MaxHintBlockSize)
        std::abort();
}

void loadAfterASoundSolution(const QByteArray &tail)
{
    static const PuzzleDataFile sound = [] {
        PuzzleDataFile f;
        f.statement = "{\\rtf1 s}";
        f.kind = AnswerInteger;
        f.answer = AnswerValue::fromInteger(7);
        f.lines = QStringList{QStringLiteral("?")};
        f.solution = "{\\rtf1 x}";
        return f;
    }();
    static const QByteArray head = encodeDataFile(sound);
    TProblem p(1, 0, QString(), QString(), QStringLiteral("fuzz.dat"));
    try {
        p.LoadDataFromBytes(head + tail);
    } catch (const ELoadError &) {
        std::abort(); // a tail can cost hints, never the puzzle
    }
    if (!p.Loaded || p.StatementText != sound.statement || p.SolutionText != sound.solution ||
        p.Lines != sound.lines || p.AnswerData != sound.answer)
        std::abort();
    checkHints(p);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TProblem p(1, 0, QString(), QString(), QStringLiteral("fuzz.dat"));
    if (size >= 2 && (data[0] == 'L' || data[0] == 'F')) {
        const auto [bytes, over] = limitCase(data, size);
        try {
            p.LoadDataFromBytes(bytes);
        } catch (const ELoadError &) {
            if (p.Loaded || (!over && data[0] == 'L'))
                std::abort(); // a file of good texts at the limit loads
            return 0;
        }
        if (over || p.StatementText.size() > limits::MaxTextBytes ||
            p.SolutionText.size() > limits::MaxTextBytes)
            std::abort();
        return 0;
    }
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    loadAfterASoundSolution(bytes);
    try {
        p.LoadDataFromBytes(bytes);
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
    checkHints(p);
    (void)p.CheckAnswer(AnswerValue::fromText(p.Lines.value(0)));
    p.UnloadData();
    return 0;
}
