// zentrika-pack check DIR: loads a built catalogue as the game does and
// reports, per puzzle, everything that would hurt a player.
#include "Commands.h"

#include "core/Catalogue.h"
#include "core/Errors.h"
#include "core/GamePath.h"
#include "core/GameRules.h"
#include "core/VectorPicture.h"
#include "platform/Codepage.h"
#include "widgets/richtext/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSvgRenderer>
#include <QTextDocument>
#include <cmath>
#include <cstdio>

namespace
{

struct Report {
    int errors = 0;
    int warnings = 0;

    void error(ProblemId id, const QString &what)
    {
        std::printf("id %u: error: %s\n", unsigned(id), qPrintable(what));
        ++errors;
    }
    void warning(ProblemId id, const QString &what)
    {
        std::printf("id %u: warning: %s\n", unsigned(id), qPrintable(what));
        ++warnings;
    }
};

// Bytes that decode to something Windows-1251 cannot write back have no code there.
bool cp1251Clean(const QString &text)
{
    return !text.contains(QChar::ReplacementCharacter) && platform::isCp1251Encodable(text);
}

// A text the game's reader refuses (too large, nested too deep, damaged)
// shows as an empty page.
void checkRichText(Report &r, ProblemId id, const char *what, const QByteArray &text)
{
    if (!richtext::looksLikeRtf(text))
        return;
    QTextDocument document;
    QString error;
    if (!richtext::readRtf(text, &document, &error))
        r.error(id, QStringLiteral("the %1 cannot be read and shows as an empty page: %2")
                        .arg(QLatin1String(what), error));
}

void checkShortText(Report &r, ProblemId id, const QString &answer)
{
    if (answer.size() > AnswerValue::MaxTextLength)
        r.error(id, QStringLiteral("the answer '%1' is longer than %2 characters and can never be matched")
                        .arg(answer)
                        .arg(AnswerValue::MaxTextLength));
    if (answer.trimmed() != answer)
        r.error(id, QStringLiteral("the answer '%1' has leading or trailing blanks").arg(answer));
    if (answer.isEmpty())
        r.error(id, QStringLiteral("the answer is empty"));
}

void checkAnswer(Report &r, const TProblem &p)
{
    const AnswerValue &a = p.AnswerData;
    switch (p.AnswerKind) {
    case AnswerInteger:
        if (a.integer() < 0)
            r.error(p.Id, QStringLiteral("the answer %1 is negative and cannot be typed").arg(a.integer()));
        break;
    case AnswerText:
        checkShortText(r, p.Id, a.text());
        if (!cp1251Clean(a.text()))
            r.error(p.Id, QStringLiteral("the answer holds a character outside Windows-1251"));
        break;
    case AnswerChoice: {
        const int stored = int(a.bytes[0]);
        checkShortText(r, p.Id, a.text());
        bool found = false;
        for (int i = 1; i < p.Lines.size(); ++i)
            found = found || p.Lines.at(i).left(AnswerValue::MaxTextLength) == a.text();
        if (p.Lines.size() < 2)
            r.error(p.Id, QStringLiteral("a choice puzzle without choices"));
        else if (!found || stored > AnswerValue::MaxTextLength)
            r.error(p.Id, QStringLiteral("the answer '%1' is not one of the choices").arg(a.text()));
        break;
    }
    case AnswerTime: {
        const double t = a.time();
        const double seconds = t * 86400.0;
        const double whole = std::round(seconds);
        const bool inDay = std::isfinite(t) && whole >= 0 && whole < 86400;
        const int s = inDay ? int(whole) : 0;
        if (!inDay || AnswerValue::dayFraction(s / 3600, s / 60 % 60, s % 60) != t)
            r.error(p.Id,
                    QStringLiteral("the time answer %1 is not exactly the day fraction of a whole H:MM:SS")
                        .arg(t, 0, 'g', 17));
        break;
    }
    case AnswerNumbers: {
        const int n = a.count();
        if (n < 1 || n > AnswerValue::MaxNumbers) {
            r.error(p.Id, QStringLiteral("the answer holds %1 numbers; 1 to 7 are possible").arg(n));
            break;
        }
        if (n != p.Lines.size() - 1)
            r.error(p.Id, QStringLiteral("the answer holds %1 numbers but %2 names are given")
                              .arg(n)
                              .arg(std::max<qsizetype>(0, p.Lines.size() - 1)));
        for (int i = 0; i < n; ++i) {
            if (a.number(i) < 0)
                r.error(p.Id,
                        QStringLiteral("number %1 of the answer is negative and cannot be typed").arg(i + 1));
        }
        break;
    }
    default:
        r.error(p.Id, QStringLiteral("answer kind %1 is outside 0..4").arg(p.AnswerKind));
    }
}

// The sharp form is optional; one that is there must be safe and drawable,
// since the game would otherwise fall back to the JPEG without a word.
void checkSharpPicture(Report &r, const TProblem &p)
{
    const QString path = gamepath::resolve(vectorpicture::pathFor(p.ImagePath));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.error(p.Id, QStringLiteral("the sharp picture %1 cannot be read").arg(path));
        return;
    }
    const QByteArray svg = file.read(vectorpicture::MaxBytes + 1);
    if (const QString fault = vectorpicture::fault(svg); !fault.isEmpty())
        r.error(p.Id, QStringLiteral("the sharp picture %1 is refused: %2").arg(path, fault));
    else if (!QSvgRenderer(svg).isValid())
        r.error(p.Id, QStringLiteral("the sharp picture %1 cannot be drawn").arg(path));
}

} // namespace

int runCheck(const QStringList &args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: zentrika-pack check DIR\n");
        return 2;
    }
    TCatalogue catalogue(QDir(args.at(0)).absolutePath());
    try {
        catalogue.LoadCatalogue();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QDir(args.at(0)).filePath(QStringLiteral("list.lst"))),
                     e.what());
        return 1;
    }
    Report r;
    QHash<ProblemId, int> seen;
    int byDifficulty[DifficultyCount] = {};
    for (const auto &item : catalogue.Items()) {
        TProblem p(*item);
        if (seen[p.Id]++ == 1)
            r.error(p.Id, QStringLiteral("the id stands more than once in the catalogue"));
        const std::optional<Difficulty> grade = knownDifficulty(p.Difficult);
        if (!grade)
            r.error(
                p.Id,
                QStringLiteral("difficulty %1 is outside 0..2; the game never draws it").arg(p.Difficult));
        else if (seen[p.Id] == 1)
            ++byDifficulty[indexOf(*grade)];
        if (!cp1251Clean(p.Name) || p.Name.trimmed().isEmpty())
            r.error(p.Id, QStringLiteral("the title is empty or holds a character outside Windows-1251"));
        try {
            p.LoadData();
        } catch (const std::exception &e) {
            r.error(p.Id, QString::fromUtf8(e.what()));
            continue;
        }
        if (p.Picture.isNull())
            r.error(p.Id, QStringLiteral("the picture %1 cannot be decoded").arg(p.ImagePath));
        checkSharpPicture(r, p);
        if (p.Lines.isEmpty() || p.Lines.first().trimmed().isEmpty())
            r.error(p.Id, QStringLiteral("the question line is missing"));
        for (const QString &line : p.Lines) {
            if (!cp1251Clean(line))
                r.error(p.Id, QStringLiteral("a line holds a character outside Windows-1251"));
        }
        if (p.GetSolutionText().trimmed().isEmpty())
            r.error(p.Id, QStringLiteral("the solution is empty"));
        if (p.GetStatementText().trimmed().isEmpty())
            r.warning(p.Id, QStringLiteral("the statement is empty"));
        checkRichText(r, p.Id, "statement", p.GetStatementText());
        checkRichText(r, p.Id, "solution", p.GetSolutionText());
        // The puzzle still plays; only the hints the block could not give are missing.
        if (p.HintsDamaged)
            r.warning(p.Id,
                      QStringLiteral("the hint block is damaged; %1 hints can be read").arg(p.Hints.size()));
        checkAnswer(r, p);
    }
    static const char *names[DifficultyCount] = {"easy", "medium", "hard"};
    for (Difficulty d : Difficulties) {
        const int have = byDifficulty[indexOf(d)];
        const int needed = TGameRules::GameQuota(d);
        if (have < needed) {
            std::printf("warning: %d %s puzzles; a whole game draws %d\n", have, names[indexOf(d)], needed);
            ++r.warnings;
        }
    }
    std::printf("%d puzzles (%d easy, %d medium, %d hard): %d errors, %d warnings\n", catalogue.Count(),
                byDifficulty[0], byDifficulty[1], byDifficulty[2], r.errors, r.warnings);
    return r.errors > 0 ? 1 : 0;
}
