#include "RtfDocumentBuilder.h"

#include "TextUnits.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace richtext::rtf
{
namespace
{

QTextBlockFormat blockFormat(const ParaState &p)
{
    QTextBlockFormat f;
    f.setAlignment(p.align);
    f.setLeftMargin(twipsToPixels(std::max(p.li, 0)));
    f.setTextIndent(twipsToPixels(p.fi));
    f.setRightMargin(twipsToPixels(std::max(p.ri, 0)));
    f.setTopMargin(twipsToPixels(p.sb));
    f.setBottomMargin(twipsToPixels(p.sa));
    return f;
}

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument *document, const FontTable &fonts, const ColorTable &colors)
    : document_(document), cursor_(document), fonts_(fonts), colors_(colors)
{
}

void DocumentBuilder::startParagraph(const GroupState &state)
{
    pendingPar_ = false;
    cursor_.insertBlock(blockFormat(state.para), charFormat(state.chr));
}

// A paragraph mark closes the paragraph with the properties in force; the next
// one only starts when something is put into it, so that the mark ending the
// document's last paragraph does not add an empty one.
void DocumentBuilder::paragraphMark(const GroupState &state)
{
    flushText();
    startPendingParagraph(state);
    applyBlockFormat(state);
    pendingPar_ = true;
}

void DocumentBuilder::addPicture(const DecodedPicture &picture, const GroupState &state)
{
    const QString name = QStringLiteral("rtf-picture-%1").arg(++pictures_);
    document_->addResource(QTextDocument::ImageResource, QUrl(name), picture.image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(picture.size.width());
    f.setHeight(picture.size.height());
    startPendingParagraph(state);
    flushText();
    cursor_.insertImage(f);
}

void DocumentBuilder::finish(const GroupState &state)
{
    flushText();
    if (!pendingPar_)
        applyBlockFormat(state);
}

void DocumentBuilder::applyBlockFormat(const GroupState &state)
{
    cursor_.setBlockFormat(blockFormat(state.para));
    if (cursor_.block().length() <= 1)
        cursor_.setBlockCharFormat(charFormat(state.chr)); // an empty line is as high as its mark
}

void DocumentBuilder::flushText()
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

QTextCharFormat DocumentBuilder::charFormat(const CharState &s)
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
    if (const QString family = fonts_.family(s.font); !family.isEmpty())
        f.setFontFamilies({family});
    if (s.halfPoints > 0)
        f.setFontPointSize(s.halfPoints / 2.0);
    if (const QColor c = colors_.color(s.color); c.isValid())
        f.setForeground(c);
    if (const QColor c = colors_.color(s.highlight); c.isValid())
        f.setBackground(c);
    if (formatCache_.size() < 64)
        formatCache_.append({s, f});
    return f;
}

} // namespace richtext::rtf
