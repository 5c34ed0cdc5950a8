#include "Markup.h"

#include <QHash>
#include <QRegularExpression>

namespace
{

const QHash<QString, QColor> &namedColours()
{
    static const QHash<QString, QColor> colours{
        {QStringLiteral("red"), QColor(0xC0, 0x20, 0x20)},
        {QStringLiteral("blue"), QColor(0x20, 0x50, 0xB0)},
        {QStringLiteral("green"), QColor(0x20, 0x80, 0x30)},
        {QStringLiteral("orange"), QColor(0xD0, 0x70, 0x10)},
        {QStringLiteral("purple"), QColor(0x80, 0x30, 0xA0)},
        {QStringLiteral("gray"), QColor(0x70, 0x70, 0x70)},
    };
    return colours;
}

class InlineParser
{
  public:
    explicit InlineParser(const QString &text) : text_(text) {}

    QVector<MarkupRun> parse()
    {
        for (pos_ = 0; pos_ < text_.size();) {
            const QChar c = text_.at(pos_);
            if (c == QLatin1Char('\\') && pos_ + 1 < text_.size()) {
                current_.text += text_.at(pos_ + 1);
                pos_ += 2;
            } else if (text_.mid(pos_, 2) == QLatin1String("**")) {
                toggle(current_.bold, "**");
            } else if (text_.mid(pos_, 2) == QLatin1String("__")) {
                toggle(current_.underline, "__");
            } else if (c == QLatin1Char('*')) {
                toggle(current_.italic, "*");
            } else if (c == QLatin1Char('{')) {
                openColour();
            } else if (c == QLatin1Char('}')) {
                if (!inColour_)
                    throw MarkupError("'}' without '{'");
                flush();
                inColour_ = false;
                current_.color = QColor();
                ++pos_;
            } else if (c == QLatin1Char('|')) {
                throw MarkupError("'|' outside a colour span (write \\| for a literal one)");
            } else {
                current_.text += c;
                ++pos_;
            }
        }
        if (current_.bold || current_.italic || current_.underline)
            throw MarkupError("unclosed emphasis in: " + text_.left(60).toStdString());
        if (inColour_)
            throw MarkupError("unclosed colour span in: " + text_.left(60).toStdString());
        flush();
        return runs_;
    }

  private:
    void flush()
    {
        if (!current_.text.isEmpty()) {
            runs_.push_back(current_);
            current_.text.clear();
        }
    }

    void toggle(bool &flag, const char *marker)
    {
        flush();
        flag = !flag;
        pos_ += int(qstrlen(marker));
    }

    void openColour()
    {
        if (inColour_)
            throw MarkupError("nested colour span");
        const int bar = text_.indexOf(QLatin1Char('|'), pos_);
        if (bar < 0)
            throw MarkupError("colour span without '|'");
        const QString name = text_.mid(pos_ + 1, bar - pos_ - 1).trimmed().toLower();
        const auto it = namedColours().find(name);
        if (it == namedColours().end())
            throw MarkupError("unknown colour '" + name.toStdString() +
                              "' (red, blue, green, orange, purple, gray)");
        flush();
        current_.color = *it;
        inColour_ = true;
        pos_ = bar + 1;
    }

    const QString &text_;
    int pos_ = 0;
    bool inColour_ = false;
    MarkupRun current_;
    QVector<MarkupRun> runs_;
};

} // namespace

QVector<MarkupParagraph> parseMarkup(const QString &source)
{
    QVector<MarkupParagraph> paragraphs;
    QStringList pending;
    const auto finish = [&] {
        if (pending.isEmpty())
            return;
        const QString joined = pending.join(QLatin1Char(' '));
        pending.clear();
        MarkupParagraph p;
        p.runs = InlineParser(joined).parse();
        if (!p.runs.isEmpty())
            paragraphs.push_back(p);
    };
    QString normalised = source;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString &raw : normalised.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            finish();
        } else if (line.startsWith(QLatin1String("- "))) {
            finish();
            pending << QStringLiteral("• ") + line.mid(2).trimmed();
            finish();
        } else {
            pending << line;
        }
    }
    finish();
    return paragraphs;
}

QString markupPlainText(const QVector<MarkupParagraph> &paragraphs)
{
    QStringList out;
    for (const MarkupParagraph &p : paragraphs) {
        QString text;
        for (const MarkupRun &r : p.runs)
            text += r.text;
        out << text;
    }
    return out.join(QStringLiteral("\n\n"));
}
