#include "PuzzleSource.h"

#include "core/HintBlock.h"
#include "platform/BoundedFile.h"
#include "platform/Codepage.h"
#include "platform/InputLimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <map>
#include <toml++/toml.h>

namespace
{

class Reader
{
  public:
    Reader(const QString &file, const toml::table &table) : file_(file), table_(table) {}

    [[noreturn]] void fail(const char *field, const QString &what) const
    {
        throw SourceError(
            QStringLiteral("%1: field '%2': %3").arg(file_, QLatin1String(field), what).toStdString());
    }

    const toml::node &node(const char *field) const
    {
        const toml::node *n = table_.get(field);
        if (!n)
            fail(field, QStringLiteral("missing"));
        return *n;
    }

    std::int64_t integer(const char *field) const
    {
        const auto v = node(field).value<std::int64_t>();
        if (!v)
            fail(field, QStringLiteral("must be a whole number"));
        return *v;
    }

    QString string(const char *field, bool required = true) const
    {
        const toml::node *n = table_.get(field);
        if (!n) {
            if (required)
                fail(field, QStringLiteral("missing"));
            return {};
        }
        const auto v = n->value<std::string>();
        if (!v)
            fail(field, QStringLiteral("must be a string"));
        return QString::fromStdString(*v);
    }

    QStringList strings(const char *field) const
    {
        const toml::array *a = node(field).as_array();
        if (!a)
            fail(field, QStringLiteral("must be an array of strings"));
        QStringList out;
        for (const toml::node &n : *a) {
            const auto v = n.value<std::string>();
            if (!v)
                fail(field, QStringLiteral("must be an array of strings"));
            out << QString::fromStdString(*v);
        }
        return out;
    }

    bool has(const char *field) const { return table_.contains(field); }

    // Windows-1251 is what the data files hold; anything else would be lost.
    void requireCp1251(const char *field, const QString &text) const
    {
        for (const QChar c : text) {
            if (!platform::isCp1251Encodable(QString(c)))
                fail(field, QStringLiteral("the character '%1' (U+%2) has no Windows-1251 code")
                                .arg(c)
                                .arg(c.unicode(), 4, 16, QLatin1Char('0')));
        }
    }

    QVector<MarkupParagraph> markup(const char *field) const { return markupText(field, string(field)); }

    QVector<MarkupParagraph> markupText(const char *field, const QString &text) const
    {
        requireCp1251(field, text);
        try {
            QVector<MarkupParagraph> p = parseMarkup(text);
            if (p.isEmpty())
                fail(field, QStringLiteral("empty"));
            return p;
        } catch (const MarkupError &e) {
            fail(field, QString::fromStdString(e.what()));
        }
    }

  private:
    QString file_;
    const toml::table &table_;
};

std::uint8_t kindCode(const Reader &r, const QString &kind)
{
    static const std::map<QString, std::uint8_t> kinds{
        {QStringLiteral("number"), AnswerInteger},  {QStringLiteral("text"), AnswerText},
        {QStringLiteral("time"), AnswerTime},       {QStringLiteral("choice"), AnswerChoice},
        {QStringLiteral("numbers"), AnswerNumbers},
    };
    const auto it = kinds.find(kind);
    if (it == kinds.end())
        r.fail("kind", QStringLiteral("'%1' is none of number, text, time, choice, numbers").arg(kind));
    return it->second;
}

// Entered answers are typed into fields that take no minus sign.
std::int32_t answerNumber(const Reader &r, const toml::node &n)
{
    const auto v = n.value<std::int64_t>();
    if (!v)
        r.fail("answer", QStringLiteral("must be a whole number"));
    if (*v < 0 || *v > INT32_MAX)
        r.fail("answer",
               QStringLiteral("%1 cannot be typed: a number from 0 to 2147483647 is needed").arg(*v));
    return std::int32_t(*v);
}

QString shortText(const Reader &r, const char *field, const QString &text)
{
    r.requireCp1251(field, text);
    if (text.isEmpty())
        r.fail(field, QStringLiteral("empty"));
    if (text.size() > AnswerValue::MaxTextLength)
        r.fail(field,
               QStringLiteral("'%1' is longer than %2 characters").arg(text).arg(AnswerValue::MaxTextLength));
    if (text.trimmed() != text)
        r.fail(field, QStringLiteral("'%1' has leading or trailing blanks").arg(text));
    return text;
}

void readAnswer(const Reader &r, PuzzleSource &p)
{
    const toml::node &n = r.node("answer");
    switch (p.kind) {
    case AnswerInteger: {
        const std::int32_t v = answerNumber(r, n);
        p.answer = AnswerValue::fromInteger(v);
        p.answerText = QString::number(v);
        break;
    }
    case AnswerText: {
        const QString t = shortText(r, "answer", r.string("answer"));
        if (t != t.toLower())
            r.fail("answer", QStringLiteral("'%1' must be lower case").arg(t));
        p.answer = AnswerValue::fromText(t);
        p.answerText = t;
        break;
    }
    case AnswerTime: {
        const QString t = r.string("answer");
        static const QRegularExpression re(QStringLiteral("^(\\d{1,2}):(\\d{2}):(\\d{2})$"));
        const auto m = re.match(t);
        if (!m.hasMatch())
            r.fail("answer", QStringLiteral("'%1' is not a time H:MM:SS").arg(t));
        const int h = m.captured(1).toInt(), mi = m.captured(2).toInt(), s = m.captured(3).toInt();
        if (h > 23 || mi > 59 || s > 59)
            r.fail("answer", QStringLiteral("'%1' is not a time of day").arg(t));
        p.answer = AnswerValue::fromTime(h, mi, s);
        p.answerText = t;
        break;
    }
    case AnswerChoice: {
        const QString t = shortText(r, "answer", r.string("answer"));
        const QStringList choices = r.strings("choices");
        if (choices.size() < 2)
            r.fail("choices", QStringLiteral("at least two choices are needed"));
        for (const QString &c : choices)
            shortText(r, "choices", c);
        if (QStringList(choices).removeDuplicates() > 0)
            r.fail("choices", QStringLiteral("a choice stands twice"));
        if (!choices.contains(t))
            r.fail("answer", QStringLiteral("'%1' is not one of the choices").arg(t));
        p.answer = AnswerValue::fromText(t);
        p.answerText = t;
        p.lines << choices;
        break;
    }
    case AnswerNumbers: {
        const toml::array *a = n.as_array();
        if (!a || a->empty() || a->size() > std::size_t(AnswerValue::MaxNumbers))
            r.fail("answer", QStringLiteral("must be an array of 1 to 7 whole numbers"));
        std::vector<std::int32_t> numbers;
        QStringList shown;
        for (const toml::node &e : *a) {
            numbers.push_back(answerNumber(r, e));
            shown << QString::number(numbers.back());
        }
        const QStringList names = r.strings("names");
        if (names.size() != int(numbers.size()))
            r.fail("names", QStringLiteral("%1 names for %2 numbers").arg(names.size()).arg(numbers.size()));
        for (const QString &name : names) {
            r.requireCp1251("names", name);
            if (name.trimmed().isEmpty())
                r.fail("names", QStringLiteral("an empty name"));
        }
        p.answer = AnswerValue::fromNumbers(numbers);
        p.answerText = QLatin1Char('[') + shown.join(QStringLiteral(", ")) + QLatin1Char(']');
        p.lines << names;
        break;
    }
    }
}

// A hint is a short step, read in a small box beside the puzzle.
constexpr int kMaxHintLength = 400;

QVector<QVector<MarkupParagraph>> readHints(const Reader &r)
{
    if (!r.has("hints"))
        return {};
    const QStringList texts = r.strings("hints");
    if (texts.size() > MaxHints)
        r.fail("hints", QStringLiteral("%1 hints; at most %2 are shown").arg(texts.size()).arg(MaxHints));
    QVector<QVector<MarkupParagraph>> hints;
    for (int i = 0; i < texts.size(); ++i) {
        if (texts.at(i).trimmed().isEmpty())
            r.fail("hints", QStringLiteral("hint %1 is empty").arg(i + 1));
        QVector<MarkupParagraph> hint = r.markupText("hints", texts.at(i));
        const qsizetype length = markupPlainText(hint).size();
        if (length > kMaxHintLength)
            r.fail("hints", QStringLiteral("hint %1 has %2 characters; at most %3 are allowed")
                                .arg(i + 1)
                                .arg(length)
                                .arg(kMaxHintLength));
        hints.push_back(hint);
    }
    return hints;
}

} // namespace

PuzzleSource readPuzzleSource(const QString &folder)
{
    const QString file = QDir(folder).filePath(QStringLiteral("puzzle.toml"));
    // Read within the limit first: the parser would take many times a huge file's size.
    const platform::BoundedRead source = platform::readBoundedFile(file, limits::MaxPuzzleSourceBytes);
    if (!source.ok())
        throw SourceError(source.detail.toStdString());
    toml::table table;
    try {
        table = toml::parse(std::string_view(source.bytes.constData(), std::size_t(source.bytes.size())),
                            QFile::encodeName(file).toStdString());
    } catch (const toml::parse_error &e) {
        throw SourceError(QStringLiteral("%1:%2: %3")
                              .arg(file)
                              .arg(e.source().begin.line)
                              .arg(QString::fromStdString(std::string(e.description())))
                              .toStdString());
    }
    const Reader r(file, table);
    PuzzleSource p;
    p.folder = folder;
    const std::int64_t id = r.integer("id");
    if (id < 0 || id > 65535)
        r.fail("id", QStringLiteral("%1 is outside 0..65535").arg(id));
    bool numeric = false;
    if (QFileInfo(folder).fileName().toInt(&numeric) != id || !numeric)
        r.fail("id", QStringLiteral("%1 differs from the folder's name").arg(id));
    p.id = ProblemId(id);
    p.title = r.string("title");
    r.requireCp1251("title", p.title);
    if (p.title.trimmed().isEmpty())
        r.fail("title", QStringLiteral("empty"));
    // Checked before it is narrowed, so that 2^32 + 1 is not taken for 1.
    const std::int64_t difficulty = r.integer("difficulty");
    if (!knownDifficulty(difficulty))
        r.fail("difficulty", QStringLiteral("%1 is none of 0, 1, 2").arg(difficulty));
    p.difficulty = int(difficulty);
    p.kind = kindCode(r, r.string("kind"));
    p.question = r.string("question");
    r.requireCp1251("question", p.question);
    if (p.question.trimmed().isEmpty())
        r.fail("question", QStringLiteral("empty"));
    p.lines << p.question;
    readAnswer(r, p);
    if (p.kind != AnswerChoice && r.has("choices"))
        r.fail("choices", QStringLiteral("only a choice puzzle has choices"));
    if (p.kind != AnswerNumbers && r.has("names"))
        r.fail("names", QStringLiteral("only a numbers puzzle has names"));
    p.statement = r.markup("statement");
    p.solution = r.markup("solution");
    p.hints = readHints(r);
    p.picturePath = QDir(folder).filePath(QStringLiteral("picture.svg"));
    if (!QFileInfo::exists(p.picturePath))
        throw SourceError(QStringLiteral("%1: missing").arg(p.picturePath).toStdString());
    return p;
}

QVector<PuzzleSource> readPuzzleSources(const QString &dir)
{
    QDir d(dir);
    if (!d.exists())
        throw SourceError(QStringLiteral("%1: no such folder").arg(dir).toStdString());
    QVector<PuzzleSource> out;
    for (const QString &name : d.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!QFileInfo::exists(d.filePath(name + QStringLiteral("/puzzle.toml"))))
            continue;
        out.push_back(readPuzzleSource(d.filePath(name)));
    }
    std::sort(out.begin(), out.end(),
              [](const PuzzleSource &a, const PuzzleSource &b) { return a.id < b.id; });
    for (int i = 1; i < out.size(); ++i) {
        if (out[i].id == out[i - 1].id)
            throw SourceError(QStringLiteral("%1: field 'id': %2 is also the id of %3")
                                  .arg(out[i].folder)
                                  .arg(out[i].id)
                                  .arg(out[i - 1].folder)
                                  .toStdString());
    }
    if (out.isEmpty())
        throw SourceError(QStringLiteral("%1: no puzzle folders").arg(dir).toStdString());
    return out;
}
