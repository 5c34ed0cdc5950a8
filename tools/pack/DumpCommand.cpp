// zentrika-pack dump FILE: one data file as the game reads it, as JSON.
#include "Commands.h"

#include "core/Errors.h"
#include "core/Problem.h"
#include "platform/Codepage.h"
#include "widgets/richtext/RtfReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextDocument>
#include <cmath>
#include <cstdio>

namespace
{

// A stored text as a player reads it, through the game's own reader; pictures
// have no words and are left out. Text that is not rich text is shown as it
// stands, as the game's viewer does. A text the reader refuses shows as an
// empty page in the game, so it is empty here too, and the reason goes to stderr.
QString plainText(const QByteArray &stored, const char *field)
{
    if (!richtext::looksLikeRtf(stored))
        return platform::fromCp1251(stored).trimmed();
    QTextDocument document;
    QString error;
    if (!richtext::readRtf(stored, &document, &error))
        std::fprintf(stderr, "%s: %s\n", field, qPrintable(error));
    return document.toPlainText().remove(QChar::ObjectReplacementCharacter).trimmed();
}

QString timeText(double dayFraction)
{
    const auto ms = std::llround(dayFraction * 86400000.0);
    const long long seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QJsonValue decodedAnswer(std::uint8_t kind, const AnswerValue &a)
{
    switch (kind) {
    case AnswerInteger:
        return a.integer();
    case AnswerText:
    case AnswerChoice:
        return a.text();
    case AnswerTime:
        return QJsonObject{{QStringLiteral("time"), timeText(a.time())}, {QStringLiteral("value"), a.time()}};
    case AnswerNumbers: {
        QJsonArray numbers;
        for (int i = 0; i < std::min<int>(a.count(), AnswerValue::MaxNumbers); ++i)
            numbers.append(a.number(i));
        return QJsonObject{{QStringLiteral("count"), a.count()}, {QStringLiteral("numbers"), numbers}};
    }
    default:
        return QJsonValue::Null;
    }
}

} // namespace

int runDump(const QStringList &args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: zentrika-pack dump FILE\n");
        return 2;
    }
    TProblem problem(0, 0, QString(), QString(), args[0]);
    try {
        problem.LoadDataWithoutPicture();
    } catch (const EZentrikaError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    QJsonArray hints;
    for (const QByteArray &hint : problem.Hints)
        hints.append(plainText(hint, "hints"));
    QByteArray hex =
        QByteArray(reinterpret_cast<const char *>(problem.AnswerData.bytes.data()), AnswerValue::Size)
            .toHex();
    QJsonObject out{
        {QStringLiteral("kind"), problem.AnswerKind},
        {QStringLiteral("answer"), decodedAnswer(problem.AnswerKind, problem.AnswerData)},
        {QStringLiteral("answer_hex"), QString::fromLatin1(hex)},
        {QStringLiteral("lines"), QJsonArray::fromStringList(problem.Lines)},
        {QStringLiteral("statement_bytes"), problem.StatementText.size()},
        {QStringLiteral("solution_bytes"), problem.SolutionText.size()},
        {QStringLiteral("statement_text"), plainText(problem.StatementText, "statement_text")},
        {QStringLiteral("solution_text"), plainText(problem.SolutionText, "solution_text")},
        {QStringLiteral("hints"), hints},
        {QStringLiteral("hints_damaged"), problem.HintsDamaged},
    };
    const QByteArray json = QJsonDocument(out).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
    return 0;
}
