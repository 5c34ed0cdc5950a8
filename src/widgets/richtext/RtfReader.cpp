#include "RtfReader.h"

#include "RtfCodepage.h"
#include "TextUnits.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVector>

#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace richtext {
namespace {

enum class Dest : quint8 { Normal, Skip, FontTable, ColorTable, Pict };
enum class Codepage : quint8 { Cp1251, Cp1252, Latin1 };

struct CharState {
    bool bold = false, italic = false, underline = false, strike = false, hidden = false;
    qint8 vertical = 0;  // -1 subscript, 1 superscript
    int font = -1;       // -1: the default font (\deff)
    int halfPoints = 0;  // 0: not set, the document's default size
    int color = 0, highlight = 0;
    bool operator==(const CharState &) const = default;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int fi = 0, li = 0, ri = 0, sb = 0, sa = 0;  // twips
};

struct GroupState {
    Dest dest = Dest::Normal;
    CharState chr;
    ParaState para;
    int uc = 1;
};

struct Font {
    QString name;
    Codepage cp = Codepage::Cp1251;
    bool hasCharset = false;
};

struct Picture {
    enum Type { Unsupported, Png, Jpeg } type = Unsupported;
    QByteArray hex, bin;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
};

enum class Kw {
    Ansicpg, Deff, Fonttbl, Colortbl, F, Fcharset, Red, Green, Blue,
    B, I, Ul, Ulnone, Strike, V, Cf, Highlight, Fs, Plain, Sub, Super, Nosupersub,
    Par, Line, Tab, Pard, Ql, Qc, Qr, Qj, Fi, Li, Ri, Sb, Sa,
    U, Uc, Pict, Pngblip, Jpegblip, Picw, Pich, Picwgoal, Pichgoal, Picscalex, Picscaley, Bin,
    SkipDest, Transparent, Char,
};

struct Keyword {
    Kw kw;
    char16_t ch = 0;  // for Kw::Char
};

const std::unordered_map<std::string_view, Keyword> &keywords()
{
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t = {
            {"ansicpg", {Kw::Ansicpg}}, {"deff", {Kw::Deff}}, {"fonttbl", {Kw::Fonttbl}},
            {"colortbl", {Kw::Colortbl}}, {"f", {Kw::F}}, {"fcharset", {Kw::Fcharset}}, {"red", {Kw::Red}},
            {"green", {Kw::Green}}, {"blue", {Kw::Blue}}, {"b", {Kw::B}}, {"i", {Kw::I}}, {"ul", {Kw::Ul}},
            {"uld", {Kw::Ul}}, {"uldb", {Kw::Ul}}, {"ulw", {Kw::Ul}}, {"ulth", {Kw::Ul}}, {"uldash", {Kw::Ul}},
            {"ulwave", {Kw::Ul}}, {"ulnone", {Kw::Ulnone}}, {"strike", {Kw::Strike}}, {"striked", {Kw::Strike}},
            {"v", {Kw::V}}, {"cf", {Kw::Cf}}, {"highlight", {Kw::Highlight}}, {"cb", {Kw::Highlight}},
            {"chcbpat", {Kw::Highlight}}, {"fs", {Kw::Fs}}, {"plain", {Kw::Plain}}, {"sub", {Kw::Sub}},
            {"super", {Kw::Super}}, {"nosupersub", {Kw::Nosupersub}}, {"par", {Kw::Par}}, {"sect", {Kw::Par}},
            {"page", {Kw::Par}}, {"row", {Kw::Par}}, {"line", {Kw::Line}}, {"tab", {Kw::Tab}}, {"cell", {Kw::Tab}},
            {"pard", {Kw::Pard}}, {"ql", {Kw::Ql}}, {"qc", {Kw::Qc}}, {"qr", {Kw::Qr}}, {"qj", {Kw::Qj}},
            {"fi", {Kw::Fi}}, {"li", {Kw::Li}}, {"ri", {Kw::Ri}}, {"sb", {Kw::Sb}}, {"sa", {Kw::Sa}},
            {"u", {Kw::U}}, {"uc", {Kw::Uc}}, {"pict", {Kw::Pict}}, {"pngblip", {Kw::Pngblip}},
            {"jpegblip", {Kw::Jpegblip}}, {"picw", {Kw::Picw}}, {"pich", {Kw::Pich}}, {"picwgoal", {Kw::Picwgoal}},
            {"pichgoal", {Kw::Pichgoal}}, {"picscalex", {Kw::Picscalex}}, {"picscaley", {Kw::Picscaley}},
            {"bin", {Kw::Bin}}, {"emdash", {Kw::Char, 0x2014}}, {"endash", {Kw::Char, 0x2013}},
            {"bullet", {Kw::Char, 0x2022}}, {"lquote", {Kw::Char, 0x2018}}, {"rquote", {Kw::Char, 0x2019}},
            {"ldblquote", {Kw::Char, 0x201C}}, {"rdblquote", {Kw::Char, 0x201D}},
            {"emspace", {Kw::Char, 0x2003}}, {"enspace", {Kw::Char, 0x2002}}, {"qmspace", {Kw::Char, 0x2005}},
            // Groups whose text is shown as it stands.
            {"shppict", {Kw::Transparent}}, {"field", {Kw::Transparent}}, {"fldrslt", {Kw::Transparent}},
            {"object", {Kw::Transparent}}, {"result", {Kw::Transparent}}, {"pntext", {Kw::Transparent}},
            {"listtext", {Kw::Transparent}},
        };
        // Destinations whose content never reaches the page.
        for (const char *d :
             {"stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr",
              "footerf", "footnote", "annotation", "atnid", "atnauthor", "xe", "tc", "txe", "rxe", "pn",
              "pnseclvl", "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "themedata",
              "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "fldinst", "bkmkstart", "bkmkend",
              "nonshppict", "pgdsctbl", "filetbl", "comment", "author", "title", "operator", "subject",
              "keywords", "doccomm", "company", "template", "buptim", "creatim", "printim", "revtim", "objdata",
              "objclass", "mmathPr", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "private", "userprops",
              "docvar", "wgrffmtfilter", "pxe", "background", "shp", "shpinst", "sp", "shptxt", "falt",
              "panose", "fontemb", "fontfile", "blipuid", "picprop", "passwordhash"})
            t.emplace(d, Keyword{Kw::SkipDest});
        return t;
    }();
    return table;
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
QChar cp1252ToUnicode(uchar b)
{
    static constexpr char16_t high[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
    };
    return (b >= 0x80 && b < 0xA0) ? QChar(high[b - 0x80]) : QChar(b);
}

QChar decodeByte(uchar b, Codepage cp)
{
    switch (cp) {
    case Codepage::Cp1251:
        return cp1251::toUnicode(b);
    case Codepage::Cp1252:
        return cp1252ToUnicode(b);
    case Codepage::Latin1:
        break;
    }
    return QChar(b);
}

Codepage codepageOf(int ansicpg) { return ansicpg == 1251 ? Codepage::Cp1251 : Codepage::Cp1252; }

Codepage codepageOfCharset(int charset)
{
    switch (charset) {
    case 204:
        return Codepage::Cp1251;
    case 2:  // symbol fonts: the byte is the glyph
        return Codepage::Latin1;
    default:
        return Codepage::Cp1252;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

class Parser {
public:
    Parser(const QByteArray &in, QTextDocument *doc)
        : p_(in.constData()), end_(in.constData() + in.size()), doc_(doc), cursor_(doc)
    {
    }

    bool run(QString *error)
    {
        // One edit block: the layout hears of the new content once, not per run.
        cursor_.beginEditBlock();
        const bool ok = parse(error);
        cursor_.endEditBlock();
        return ok;
    }

private:
    bool parse(QString *error)
    {
        while (p_ < end_ && !done_) {
            const char c = *p_++;
            switch (c) {
            case '{':
                starred_ = false;
                skipChars_ = 0;
                if (stack_.size() >= RtfLimits::maxGroupDepth) {
                    if (error)
                        *error = QStringLiteral("RTF groups are nested deeper than %1 levels")
                                     .arg(RtfLimits::maxGroupDepth);
                    return false;
                }
                stack_.append(st_);
                break;
            case '}':
                endGroup();
                break;
            case '\\':
                controlWord();
                break;
            case '\r':
            case '\n':
                break;
            default:
                starred_ = false;
                textByte(uchar(c));
                break;
            }
        }
        // Unclosed groups are forgiven, as word processors do.
        if (st_.dest == Dest::Pict)
            finishPicture();
        flushText();
        if (!pendingPar_)
            applyBlockFormat();
        return true;
    }

    void endGroup()
    {
        starred_ = false;
        skipChars_ = 0;
        if (stack_.isEmpty()) {
            done_ = true;
            return;
        }
        const GroupState inner = st_;
        st_ = stack_.takeLast();
        if (inner.dest == Dest::Pict && st_.dest != Dest::Pict)
            finishPicture();
        if (inner.dest == Dest::FontTable)
            commitFont();
        if (stack_.isEmpty())
            done_ = true;  // the document's own group is closed; anything after it is not text
    }

    void controlWord()
    {
        if (p_ >= end_)
            return;
        const char c = *p_;
        if (!isAsciiLetter(c)) {
            ++p_;
            controlSymbol(c);
            return;
        }
        const char *start = p_;
        while (p_ < end_ && isAsciiLetter(*p_))
            ++p_;
        const std::string_view word(start, std::size_t(p_ - start));
        bool negative = false;
        if (p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1])) {
            negative = true;
            ++p_;
        }
        bool hasParam = false;
        qint64 param = 0;
        while (p_ < end_ && isDigit(*p_)) {
            if (param < 100000000000LL)
                param = param * 10 + (*p_ - '0');
            hasParam = true;
            ++p_;
        }
        if (negative)
            param = -param;
        param = std::clamp<qint64>(param, INT_MIN, INT_MAX);
        if (p_ < end_ && *p_ == ' ')
            ++p_;
        word_ = word;
        handleWord(hasParam, int(param));
    }

    void controlSymbol(char c)
    {
        switch (c) {
        case '\'': {
            if (end_ - p_ < 2) {
                p_ = end_;
                return;
            }
            const int hi = hexValue(p_[0]), lo = hexValue(p_[1]);
            if (hi < 0 || lo < 0)
                return;
            p_ += 2;
            starred_ = false;
            textByte(uchar(hi * 16 + lo));
            return;
        }
        case '\\':
        case '{':
        case '}':
            starred_ = false;
            textByte(uchar(c));
            return;
        case '*':
            starred_ = true;
            return;
        case '~':
            textChar(QChar(0x00A0));
            return;
        case '-':
            textChar(QChar(0x00AD));
            return;
        case '_':
            textChar(QChar(0x2011));
            return;
        case '\r':
        case '\n':
            if (st_.dest == Dest::Normal && !consumeSkippedChar())
                paragraph();
            return;
        default:
            return;
        }
    }

    // After \u, the next \uc characters are the fallback for older readers.
    bool consumeSkippedChar()
    {
        if (skipChars_ <= 0)
            return false;
        --skipChars_;
        return true;
    }

    void handleWord(bool hasParam, int param)
    {
        const auto it = keywords().find(word_);
        const bool starred = std::exchange(starred_, false);
        if (it != keywords().end() && it->second.kw == Kw::Bin) {
            binary(param);
            return;
        }
        if (st_.dest == Dest::Skip)
            return;
        if (consumeSkippedChar())
            return;
        if (it == keywords().end()) {
            if (starred)
                st_.dest = Dest::Skip;  // an optional destination we do not know
            return;
        }
        const Keyword &k = it->second;
        // Each group of words has a handler of its own; a word belongs to exactly one.
        if (tableWord(k.kw, param) || characterWord(k.kw, hasParam, param) || paragraphWord(k.kw, param) ||
            textWord(k, param) || pictureWord(k.kw, param))
            return;
        if (k.kw == Kw::SkipDest)
            st_.dest = Dest::Skip;
        // Kw::Transparent: the group's text is shown as it stands.
    }

    // The document's code page and default font, the font and colour tables.
    bool tableWord(Kw kw, int param)
    {
        switch (kw) {
        case Kw::Ansicpg:
            docCp_ = codepageOf(param);
            return true;
        case Kw::Deff:
            deff_ = param;
            return true;
        case Kw::Fonttbl:
            st_.dest = Dest::FontTable;
            return true;
        case Kw::Colortbl:
            st_.dest = Dest::ColorTable;
            return true;
        case Kw::F:
            if (st_.dest == Dest::FontTable) {
                commitFont();
                fontNum_ = param;
            } else if (st_.dest == Dest::Normal) {
                st_.chr.font = param;
            }
            return true;
        case Kw::Fcharset:
            if (st_.dest == Dest::FontTable) {
                font_.cp = codepageOfCharset(param);
                font_.hasCharset = true;
            }
            return true;
        case Kw::Red:
        case Kw::Green:
        case Kw::Blue:
            colorComponent(kw, std::clamp(param, 0, 255));
            return true;
        default:
            return false;
        }
    }

    void colorComponent(Kw kw, int value)
    {
        if (kw == Kw::Red)
            color_.setRed(value);
        else if (kw == Kw::Green)
            color_.setGreen(value);
        else
            color_.setBlue(value);
        colorSet_ = true;
    }

    // Character formatting; a toggle without a parameter, or with one other than 0, turns on.
    bool characterWord(Kw kw, bool hasParam, int param)
    {
        const bool on = !hasParam || param != 0;
        CharState &chr = st_.chr;
        switch (kw) {
        case Kw::B:
            chr.bold = on;
            return true;
        case Kw::I:
            chr.italic = on;
            return true;
        case Kw::Ul:
            chr.underline = on;
            return true;
        case Kw::Ulnone:
            chr.underline = false;
            return true;
        case Kw::Strike:
            chr.strike = on;
            return true;
        case Kw::V:
            chr.hidden = on;
            return true;
        case Kw::Cf:
            chr.color = std::max(param, 0);
            return true;
        case Kw::Highlight:
            chr.highlight = std::max(param, 0);
            return true;
        case Kw::Fs:
            // Word processors keep sizes within 1..1638 points.
            chr.halfPoints = hasParam ? std::clamp(param, 2, 3276) : 24;
            return true;
        case Kw::Plain:
            chr = CharState{};
            return true;
        case Kw::Sub:
        case Kw::Super:
        case Kw::Nosupersub:
            chr.vertical = kw == Kw::Sub ? -1 : kw == Kw::Super ? 1 : 0;
            return true;
        default:
            return false;
        }
    }

    // Paragraph alignment, indents and spacing, in twips.
    bool paragraphWord(Kw kw, int param)
    {
        ParaState &para = st_.para;
        const int twips = std::clamp(param, -31680, 31680);
        switch (kw) {
        case Kw::Pard:
            para = ParaState{};
            return true;
        case Kw::Ql:
            para.align = Qt::AlignLeft;
            return true;
        case Kw::Qc:
            para.align = Qt::AlignHCenter;
            return true;
        case Kw::Qr:
            para.align = Qt::AlignRight;
            return true;
        case Kw::Qj:
            para.align = Qt::AlignJustify;
            return true;
        case Kw::Fi:
            para.fi = twips;
            return true;
        case Kw::Li:
            para.li = twips;
            return true;
        case Kw::Ri:
            para.ri = twips;
            return true;
        case Kw::Sb:
            para.sb = std::max(twips, 0);
            return true;
        case Kw::Sa:
            para.sa = std::max(twips, 0);
            return true;
        default:
            return false;
        }
    }

    // Words that put text on the page: breaks, tabs, named and Unicode characters.
    bool textWord(const Keyword &k, int param)
    {
        switch (k.kw) {
        case Kw::Par:
            if (st_.dest == Dest::Normal)
                paragraph();
            return true;
        case Kw::Line:
            textChar(QChar(QChar::LineSeparator));
            return true;
        case Kw::Tab:
            textChar(QChar('\t'));
            return true;
        case Kw::Char:
            textChar(QChar(k.ch));
            return true;
        case Kw::U:
            // A signed 16-bit UTF-16 unit; the reader skips its fallback characters.
            textChar(QChar(char16_t(param & 0xFFFF)));
            skipChars_ = st_.uc;
            return true;
        case Kw::Uc:
            st_.uc = std::clamp(param, 0, 255);
            return true;
        default:
            return false;
        }
    }

    // A picture group and its properties.
    bool pictureWord(Kw kw, int param)
    {
        switch (kw) {
        case Kw::Pict:
            if (st_.dest == Dest::Normal) {
                st_.dest = Dest::Pict;
                pict_ = Picture{};
            } else {
                st_.dest = Dest::Skip;
            }
            return true;
        case Kw::Pngblip:
            pict_.type = Picture::Png;
            return true;
        case Kw::Jpegblip:
            pict_.type = Picture::Jpeg;
            return true;
        case Kw::Picw:
            pict_.picw = param;
            return true;
        case Kw::Pich:
            pict_.pich = param;
            return true;
        case Kw::Picwgoal:
            pict_.goalw = param;
            return true;
        case Kw::Pichgoal:
            pict_.goalh = param;
            return true;
        case Kw::Picscalex:
            pict_.scalex = std::clamp(param, 1, 1000);
            return true;
        case Kw::Picscaley:
            pict_.scaley = std::clamp(param, 1, 1000);
            return true;
        default:
            return false;
        }
    }

    // \binN: N raw bytes follow, whatever they look like.
    void binary(int count)
    {
        const qsizetype n = std::min<qsizetype>(std::max(count, 0), end_ - p_);
        if (st_.dest == Dest::Pict)
            pict_.bin = QByteArray(p_, n);
        p_ += n;
    }

    void textByte(uchar b)
    {
        if (consumeSkippedChar())
            return;
        switch (st_.dest) {
        case Dest::Normal:
            textChar(decodeByte(b, currentCodepage()));
            break;
        case Dest::FontTable:
            if (b == ';')
                commitFont();
            else
                fontName_ += char(b);
            break;
        case Dest::ColorTable:
            if (b == ';') {
                colors_.append(colorSet_ ? color_ : QColor());
                color_ = QColor(0, 0, 0);
                colorSet_ = false;
            }
            break;
        case Dest::Pict:
            if (hexValue(char(b)) >= 0)
                pict_.hex += char(b);
            break;
        case Dest::Skip:
            break;
        }
    }

    void textChar(QChar ch)
    {
        if (st_.dest != Dest::Normal || st_.chr.hidden)
            return;
        startPendingParagraph();
        if (!text_.isEmpty() && !(textState_ == st_.chr))
            flushText();
        if (text_.isEmpty())
            textState_ = st_.chr;
        text_ += ch;
    }

    Codepage currentCodepage() const
    {
        const auto it = fonts_.constFind(st_.chr.font >= 0 ? st_.chr.font : deff_);
        return (it != fonts_.cend() && it->hasCharset) ? it->cp : docCp_;
    }

    void commitFont()
    {
        if (fontNum_ >= 0 && !fontName_.trimmed().isEmpty()) {
            QString name;
            const Codepage cp = font_.hasCharset ? font_.cp : docCp_;
            for (char c : fontName_)
                name += decodeByte(uchar(c), cp);
            font_.name = name.trimmed();
            fonts_.insert(fontNum_, font_);
        }
        fontNum_ = -1;
        fontName_.clear();
        font_ = Font{};
    }

    void startPendingParagraph()
    {
        if (!pendingPar_)
            return;
        pendingPar_ = false;
        cursor_.insertBlock(blockFormat(), charFormat(st_.chr));
    }

    // A paragraph mark closes the paragraph with the properties in force; the next
    // one only starts when something is put into it, so that the mark ending the
    // document's last paragraph does not add an empty one.
    void paragraph()
    {
        if (consumeSkippedChar())
            return;
        flushText();
        startPendingParagraph();
        applyBlockFormat();
        pendingPar_ = true;
    }

    void applyBlockFormat()
    {
        cursor_.setBlockFormat(blockFormat());
        if (cursor_.block().length() <= 1)
            cursor_.setBlockCharFormat(charFormat(st_.chr));  // an empty line is as high as its mark
    }

    void flushText()
    {
        if (text_.isEmpty())
            return;
        // Lone surrogates from broken \u pairs would upset the text layout.
        for (qsizetype i = 0; i < text_.size(); ++i) {
            const QChar c = text_.at(i);
            if (c.isHighSurrogate() && i + 1 < text_.size() && text_.at(i + 1).isLowSurrogate())
                ++i;
            else if (c.isSurrogate())
                text_[i] = QChar(QChar::ReplacementCharacter);
        }
        cursor_.insertText(text_, charFormat(textState_));
        text_.clear();
    }

    QTextBlockFormat blockFormat() const
    {
        const ParaState &p = st_.para;
        QTextBlockFormat f;
        f.setAlignment(p.align);
        f.setLeftMargin(twipsToPixels(std::max(p.li, 0)));
        f.setTextIndent(twipsToPixels(p.fi));
        f.setRightMargin(twipsToPixels(std::max(p.ri, 0)));
        f.setTopMargin(twipsToPixels(p.sb));
        f.setBottomMargin(twipsToPixels(p.sa));
        return f;
    }

    QTextCharFormat charFormat(const CharState &s)
    {
        for (const auto &[state, format] : formatCache_)
            if (state == s)
                return format;
        QTextCharFormat f;
        if (s.bold)
            f.setFontWeight(QFont::Bold);
        if (s.italic)
            f.setFontItalic(true);
        if (s.underline)
            f.setFontUnderline(true);
        if (s.strike)
            f.setFontStrikeOut(true);
        if (s.vertical)
            f.setVerticalAlignment(s.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                                  : QTextCharFormat::AlignSubScript);
        const auto font = fonts_.constFind(s.font >= 0 ? s.font : deff_);
        if (font != fonts_.cend() && !font->name.isEmpty())
            f.setFontFamilies({font->name});
        if (s.halfPoints > 0)
            f.setFontPointSize(s.halfPoints / 2.0);
        if (s.color > 0 && s.color < colors_.size() && colors_[s.color].isValid())
            f.setForeground(colors_[s.color]);
        if (s.highlight > 0 && s.highlight < colors_.size() && colors_[s.highlight].isValid())
            f.setBackground(colors_[s.highlight]);
        if (formatCache_.size() < 64)
            formatCache_.append({s, f});
        return f;
    }

    void finishPicture()
    {
        Picture pict = std::exchange(pict_, Picture{});
        if (pict.type == Picture::Unsupported)
            return;
        QByteArray data = pict.bin.isEmpty() ? QByteArray::fromHex(pict.hex) : pict.bin;
        QBuffer buffer(&data);
        QImageReader reader(&buffer, pict.type == Picture::Png ? "png" : "jpeg");
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > RtfLimits::maxImageSide || size.height() > RtfLimits::maxImageSide)
            return;
        const QImage image = reader.read();
        if (image.isNull())
            return;
        const QString name = QStringLiteral("rtf-picture-%1").arg(++pictures_);
        doc_->addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat f;
        f.setName(name);
        const double w = pict.goalw > 0 ? twipsToPixels(pict.goalw) : image.width();
        const double h = pict.goalh > 0 ? twipsToPixels(pict.goalh) : image.height();
        f.setWidth(std::min(w * pict.scalex / 100.0, double(RtfLimits::maxImageSide)));
        f.setHeight(std::min(h * pict.scaley / 100.0, double(RtfLimits::maxImageSide)));
        startPendingParagraph();
        flushText();
        cursor_.insertImage(f);
    }

    const char *p_;
    const char *end_;
    QTextDocument *doc_;
    QTextCursor cursor_;
    bool done_ = false;

    QVector<GroupState> stack_;
    GroupState st_;
    std::string_view word_;
    bool starred_ = false;
    int skipChars_ = 0;

    Codepage docCp_ = Codepage::Cp1251;  // the game's texts are Russian
    int deff_ = 0;
    QHash<int, Font> fonts_;
    int fontNum_ = -1;
    QByteArray fontName_;
    Font font_;
    QVector<QColor> colors_;
    QColor color_ = QColor(0, 0, 0);
    bool colorSet_ = false;
    Picture pict_;
    int pictures_ = 0;

    QString text_;
    CharState textState_;
    bool pendingPar_ = false;
    QVector<std::pair<CharState, QTextCharFormat>> formatCache_;
};

}  // namespace

bool looksLikeRtf(const QByteArray &bytes) { return bytes.startsWith("{\\rtf"); }

bool readRtf(const QByteArray &rtf, QTextDocument *document, QString *error)
{
    document->clear();
    if (rtf.size() > RtfLimits::maxInputBytes) {
        if (error)
            *error = QStringLiteral("RTF input of %1 bytes is over the limit of %2 bytes")
                         .arg(rtf.size())
                         .arg(RtfLimits::maxInputBytes);
        return false;
    }
    if (!looksLikeRtf(rtf)) {
        if (error)
            *error = QStringLiteral("The text is not an RTF document: it does not start with {\\rtf");
        return false;
    }
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    Parser parser(rtf, document);
    QString why;
    const bool ok = parser.run(&why);
    if (!ok)
        document->clear();
    document->setUndoRedoEnabled(undo);
    if (error)
        *error = ok ? QString() : why;
    return ok;
}

}  // namespace richtext
