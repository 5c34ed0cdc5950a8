#include "RtfWriter.h"

#include "platform/Codepage.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace richtext
{
namespace
{

class Writer
{
  public:
    explicit Writer(const RtfStyle &style) : style_(style) {}

    QByteArray write(const QVector<RtfParagraph> &paragraphs)
    {
        // Colours in order of first use, so the same text always gives the same table.
        for (const RtfParagraph &p : paragraphs)
            for (const RtfRun &r : p.runs)
                if (r.color.isValid() && !colors_.contains(r.color.rgb()))
                    colors_.append(r.color.rgb());

        QByteArray out;
        out += "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 ";
        appendText(out, style_.fontName);
        out += ";}}\n{\\colortbl;";
        for (QRgb c : colors_)
            out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) +
                   "\\blue" + QByteArray::number(qBlue(c)) + ';';
        out += "}\n\\viewkind4\\uc1\\pard\\f0\\fs" + QByteArray::number(style_.fontSizeHalfPoints) + '\n';

        for (const RtfParagraph &p : paragraphs) {
            for (const RtfRun &r : p.runs) {
                if (r.text.isEmpty())
                    continue;
                QByteArray words;
                if (r.bold != bold_)
                    words += r.bold ? "\\b" : "\\b0";
                if (r.italic != italic_)
                    words += r.italic ? "\\i" : "\\i0";
                if (r.underline != underline_)
                    words += r.underline ? "\\ul" : "\\ulnone";
                const int cf = r.color.isValid() ? int(colors_.indexOf(r.color.rgb())) + 1 : 0;
                if (cf != color_)
                    words += "\\cf" + QByteArray::number(cf);
                bold_ = r.bold;
                italic_ = r.italic;
                underline_ = r.underline;
                color_ = cf;
                if (!words.isEmpty())
                    out += words + ' ';
                appendText(out, r.text);
            }
            out += "\\par\n";
        }
        out += "}\n";
        return out;
    }

  private:
    static void appendText(QByteArray &out, const QString &text)
    {
        for (QChar ch : text) {
            const char16_t u = ch.unicode();
            if (u == '\\' || u == '{' || u == '}') {
                out += '\\';
                out += char(u);
            } else if (u == '\n' || u == 0x2028) {
                out += "\\line ";
            } else if (u == 0x2029) {
                out += "\\par\n";
            } else if (u == '\t') {
                out += "\\tab ";
            } else if (u == '\r' || u == 0xFFFC) {
                // carriage returns and object placeholders carry no text of their own
            } else if (u < 0x20) {
                continue;
            } else if (int b = platform::cp1251ByteOf(ch); b >= 0x80) {
                static const char hex[] = "0123456789abcdef";
                out += "\\'";
                out += hex[b >> 4];
                out += hex[b & 15];
            } else if (b >= 0) {
                out += char(b);
            } else {
                // Outside Windows-1251: a Unicode escape with '?' for readers without \u.
                out += "\\u" + QByteArray::number(int(int16_t(u))) + '?';
            }
        }
    }

    const RtfStyle &style_;
    QVector<QRgb> colors_;
    bool bold_ = false, italic_ = false, underline_ = false;
    int color_ = 0;
};

} // namespace

QByteArray writeRtf(const QVector<RtfParagraph> &paragraphs, const RtfStyle &style)
{
    return Writer(style).write(paragraphs);
}

QByteArray writeRtf(const QTextDocument &document, const RtfStyle &style)
{
    QVector<RtfParagraph> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        RtfParagraph p;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.isValid())
                continue;
            const QTextCharFormat fmt = f.charFormat();
            RtfRun r;
            r.text = f.text();
            r.bold = fmt.fontWeight() >= QFont::Bold;
            r.italic = fmt.fontItalic();
            r.underline = fmt.fontUnderline();
            if (fmt.foreground().style() != Qt::NoBrush)
                r.color = fmt.foreground().color();
            p.runs.append(r);
        }
        paragraphs.append(p);
    }
    return writeRtf(paragraphs, style);
}

} // namespace richtext
