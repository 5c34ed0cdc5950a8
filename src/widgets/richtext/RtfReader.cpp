#include "RtfReader.h"

#include "RtfDocumentBuilder.h"
#include "RtfKeywords.h"
#include "RtfPicture.h"
#include "RtfState.h"
#include "RtfTables.h"
#include "RtfTokenizer.h"

#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace richtext
{
namespace
{

using namespace rtf;

// Follows the groups and control words of the tokens and sends their text
// where the group state says: the page, a table, a picture, or nowhere.
class Parser
{
  public:
    Parser(const QByteArray &in, QTextDocument *doc) : tokens_(in), builder_(doc, fonts_, colors_) {}

    bool run(QString *error)
    {
        builder_.begin();
        const bool ok = parse(error);
        builder_.end();
        return ok;
    }

  private:
    GroupState &st() { return groups_.current(); }

    bool parse(QString *error)
    {
        while (!done_) {
            const Token t = tokens_.next();
            switch (t.type) {
            case Token::End:
                done_ = true;
                break;
            case Token::GroupStart:
                if (!startGroup(error))
                    return false;
                break;
            case Token::GroupEnd:
                endGroup();
                break;
            case Token::Word:
                handleWord(t.word, t.hasParam, t.param);
                break;
            case Token::Symbol:
                controlSymbol(t.symbol);
                break;
            case Token::Byte:
                starred_ = false;
                textByte(t.byte);
                break;
            case Token::Text:
                starred_ = false;
                textRun(t.word);
                break;
            }
        }
        // Unclosed groups are forgiven, as word processors do.
        if (st().dest == Dest::Pict)
            finishPicture();
        builder_.finish(st());
        return true;
    }

    bool startGroup(QString *error)
    {
        starred_ = false;
        skipChars_ = 0;
        if (groups_.depth() >= RtfLimits::maxGroupDepth) {
            if (error)
                *error = QStringLiteral("RTF groups are nested deeper than %1 levels")
                             .arg(RtfLimits::maxGroupDepth);
            return false;
        }
        groups_.open();
        return true;
    }

    void endGroup()
    {
        starred_ = false;
        skipChars_ = 0;
        if (groups_.depth() == 0) {
            done_ = true;
            return;
        }
        const GroupState inner = groups_.close();
        if (inner.dest == Dest::Pict && st().dest != Dest::Pict)
            finishPicture();
        if (inner.dest == Dest::FontTable)
            fonts_.endEntry();
        if (groups_.depth() == 0)
            done_ = true; // the document's own group is closed; anything after it is not text
    }

    void controlSymbol(char c)
    {
        switch (c) {
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
            if (st().dest == Dest::Normal)
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

    void handleWord(std::string_view word, bool hasParam, int param)
    {
        const Keyword *k = findKeyword(word);
        const bool starred = std::exchange(starred_, false);
        if (k && k->kw == Kw::Bin) {
            binary(param);
            return;
        }
        if (st().dest == Dest::Skip)
            return;
        if (consumeSkippedChar())
            return;
        if (!k) {
            if (starred)
                st().dest = Dest::Skip; // an optional destination we do not know
            return;
        }
        // Each group of words has a handler of its own; a word belongs to exactly one.
        if (tableWord(k->kw, param) || applyCharacterWord(st().chr, k->kw, hasParam, param) ||
            applyParagraphWord(st().para, k->kw, param) || textWord(*k, param) || pictureWord(k->kw, param))
            return;
        if (k->kw == Kw::SkipDest)
            st().dest = Dest::Skip;
        // Kw::Transparent: the group's text is shown as it stands.
    }

    // The document's code page and default font, the font and colour tables.
    bool tableWord(Kw kw, int param)
    {
        switch (kw) {
        case Kw::Ansicpg:
            fonts_.setDocumentCodePage(param);
            return true;
        case Kw::Deff:
            fonts_.setDefaultFont(param);
            return true;
        case Kw::Fonttbl:
            st().dest = Dest::FontTable;
            return true;
        case Kw::Colortbl:
            st().dest = Dest::ColorTable;
            return true;
        case Kw::F:
            if (st().dest == Dest::FontTable)
                fonts_.startEntry(param);
            else if (st().dest == Dest::Normal)
                st().chr.font = param;
            return true;
        case Kw::Fcharset:
            if (st().dest == Dest::FontTable)
                fonts_.setEntryCharset(param);
            return true;
        case Kw::Red:
            colors_.setComponent(ColorTable::Red, param);
            return true;
        case Kw::Green:
            colors_.setComponent(ColorTable::Green, param);
            return true;
        case Kw::Blue:
            colors_.setComponent(ColorTable::Blue, param);
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
            if (st().dest == Dest::Normal)
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
            skipChars_ = st().uc;
            return true;
        case Kw::Uc:
            st().uc = std::clamp(param, 0, 255);
            return true;
        default:
            return false;
        }
    }

    // A picture group and its properties.
    bool pictureWord(Kw kw, int param)
    {
        if (kw != Kw::Pict)
            return pict_.applyWord(kw, param);
        if (st().dest == Dest::Normal) {
            st().dest = Dest::Pict;
            pict_ = Picture{};
        } else {
            st().dest = Dest::Skip;
        }
        return true;
    }

    // \binN: N raw bytes follow, whatever they look like.
    void binary(int count)
    {
        const std::string_view bytes = tokens_.takeBinary(count);
        if (st().dest == Dest::Pict)
            pict_.setBinary(bytes);
    }

    void textByte(unsigned char b)
    {
        if (consumeSkippedChar())
            return;
        switch (st().dest) {
        case Dest::Normal:
            textChar(QChar(fonts_.characters(st().chr.font)[b]));
            break;
        case Dest::FontTable:
            fonts_.addNameByte(char(b));
            break;
        case Dest::ColorTable:
            if (b == ';')
                colors_.endEntry();
            break;
        case Dest::Pict:
            pict_.addHexByte(b);
            break;
        case Dest::Skip:
            break;
        }
    }

    // Plain bytes: nothing in a run changes the state, so the text on the page is
    // put in at once, after the fallback characters still to skip.
    void textRun(std::string_view bytes)
    {
        if (st().dest != Dest::Normal) {
            for (char c : bytes)
                textByte(static_cast<unsigned char>(c));
            return;
        }
        const std::size_t skip = std::min(std::size_t(std::max(skipChars_, 0)), bytes.size());
        skipChars_ -= int(skip);
        bytes.remove_prefix(skip);
        if (bytes.empty() || st().chr.hidden)
            return;
        builder_.addBytes(bytes, fonts_.characters(st().chr.font), st());
    }

    void textChar(QChar ch)
    {
        if (st().dest != Dest::Normal || st().chr.hidden)
            return;
        builder_.addChar(ch, st());
    }

    void paragraph()
    {
        if (consumeSkippedChar())
            return;
        builder_.paragraphMark(st());
    }

    void finishPicture()
    {
        const Picture pict = std::exchange(pict_, Picture{});
        if (const auto picture = pict.decode())
            builder_.addPicture(*picture, st());
    }

    Tokenizer tokens_;
    GroupStack groups_;
    bool done_ = false;
    bool starred_ = false;
    int skipChars_ = 0;
    FontTable fonts_;
    ColorTable colors_;
    Picture pict_;
    DocumentBuilder builder_;
};

} // namespace

bool looksLikeRtf(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

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

} // namespace richtext
