#include "RichTextView.h"

#include "platform/Codepage.h"
#include "widgets/richtext/RtfReader.h"
#include "widgets/richtext/TextUnits.h"

#include <QAbstractTextDocumentLayout>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <algorithm>

RichTextView::RichTextView(QWidget *parent) : QTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    // A thin inset like the system's rich-text box; the paragraphs bring their own indents.
    document()->setDocumentMargin(1);
    watch(document());
    syncLayoutWidth();
}

void RichTextView::watch(QTextDocument *doc)
{
    connect(doc, &QTextDocument::contentsChange, this, [this] {
        if (settling_)
            return;
        linesSettled_ = false;
        if (applyingFormat_)
            return; // formats only: the text and its kept breaks stay
        formatCurrent_ = false;
        keptBreaks_.clear();
    });
}

void RichTextView::setRtf(const QByteArray &rtf)
{
    setRtf(rtf, {});
}

void RichTextView::readInto(QTextDocument *doc, const QByteArray &rtf)
{
    if (rtf.isEmpty()) {
        // an empty page
    } else if (richtext::looksLikeRtf(rtf)) {
        richtext::readRtf(rtf, doc, &lastError_);
    } else {
        doc->setPlainText(platform::fromCp1251(rtf));
    }
}

void RichTextView::appendNote(QTextDocument *doc, const Note &note)
{
    QTextDocument part;
    part.setDefaultFont(doc->defaultFont());
    QString error;
    if (richtext::looksLikeRtf(note.rtf))
        richtext::readRtf(note.rtf, &part, &error);
    else
        part.setPlainText(platform::fromCp1251(note.rtf));
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    // A blank line parts the note from what comes before it.
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    noteStarts_.append(cursor.position());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(note.heading, bold);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertFragment(QTextDocumentFragment(&part));
}

void RichTextView::setRtf(const QByteArray &rtf, const QList<Note> &notes)
{
    lastError_.clear();
    noteStarts_.clear();
    // The new content is built in a document of its own, with no layout yet, and
    // given the last whole-text format there; the view then lays it out once, and
    // the usual re-format after the change finds nothing left to do.
    const QPointer<QTextDocument> old = document();
    auto *doc = new QTextDocument(this);
    doc->setUndoRedoEnabled(false);
    doc->setDocumentMargin(old->documentMargin());
    doc->setDefaultFont(old->defaultFont());
    doc->setDefaultTextOption(old->defaultTextOption());
    readInto(doc, rtf);
    for (const Note &note : notes)
        appendNote(doc, note);
    if (formattedWith_)
        applyFormat(doc, *formattedWith_, true);
    const bool preformatted = formattedWith_.has_value();
    {
        const QSignalBlocker blocker(this); // contentReplaced below is the one notice
        setDocument(doc);
    }
    if (old && old->parent() == this) // the view may have freed it already
        delete old.data();
    watch(doc);
    // Breaks kept in the old text mean nothing in the new one.
    keptBreaks_.clear();
    settledDoc_ = nullptr;
    linesSettled_ = false;
    formatCurrent_ = preformatted;
    topLine_ = 0;
    verticalScrollBar()->setValue(0);
    emit textChanged();
    emit contentReplaced();
}

void RichTextView::syncLayoutWidth() const
{
    // With our own scroll bar beside it the view's width is known before it is shown
    // or resized on screen, so the text is wrapped at that width right away.
    auto *self = const_cast<RichTextView *>(this);
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
        const int w = std::max(1, width() - 2 * frameWidth());
        if (lineWrapMode() != FixedPixelWidth)
            self->setLineWrapMode(FixedPixelWidth);
        if (lineWrapColumnOrWidth() != w)
            self->setLineWrapColumnOrWidth(w);
    } else if (lineWrapMode() != WidgetWidth) {
        self->setLineWrapMode(WidgetWidth);
    }
}

void RichTextView::resizeEvent(QResizeEvent *event)
{
    syncLayoutWidth();
    QTextEdit::resizeEvent(event);
}

void RichTextView::paintEvent(QPaintEvent *event)
{
    settleLines();
    QTextEdit::paintEvent(event);
}

namespace
{

// Words of a line: runs between blanks that hold a letter or a digit (a
// bullet or a dash alone is none).
int wordsIn(const QString &line)
{
    int words = 0;
    bool inWord = false;
    bool counted = false;
    for (QChar c : line) {
        if (c.isSpace()) {
            inWord = false;
            continue;
        }
        if (!inWord) {
            inWord = true;
            counted = false;
        }
        if (!counted && c.isLetterOrNumber()) {
            ++words;
            counted = true;
        }
    }
    return words;
}

// Document positions of the spaces that end the short lines of justified
// paragraphs, the last line of each paragraph aside (never stretched).
QVector<int> shortLineEnds(const QTextDocument &doc, int minWords)
{
    QVector<int> ends;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout *layout = b.layout();
        if (!layout || !(b.blockFormat().alignment() & Qt::AlignJustify))
            continue;
        const QString text = b.text();
        for (int i = 0; i + 1 < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int last = line.textStart() + line.textLength() - 1;
            if (last >= 0 && last < text.size() && text.at(last) == QLatin1Char(' ') &&
                wordsIn(text.mid(line.textStart(), line.textLength())) < minWords)
                ends.append(b.position() + last);
        }
    }
    return ends;
}

// Puts text in place of the one character at position, in that character's format.
void replaceCharAt(QTextDocument *doc, int position, const QString &text)
{
    QTextCursor c(doc);
    c.setPosition(position + 1);
    const QTextCharFormat format = c.charFormat();
    c.setPosition(position, QTextCursor::KeepAnchor);
    c.insertText(text, format);
}

} // namespace

void RichTextView::restoreBreaks()
{
    QTextDocument *doc = document();
    if (settledDoc_ == doc) {
        for (int position : std::as_const(keptBreaks_))
            if (doc->characterAt(position) == QChar(QChar::LineSeparator))
                replaceCharAt(doc, position, QStringLiteral(" "));
    }
    keptBreaks_.clear();
}

void RichTextView::settleLines() const
{
    syncLayoutWidth();
    auto *self = const_cast<RichTextView *>(this);
    QTextDocument *doc = self->document();
    if (settling_ || (linesSettled_ && settledDoc_ == doc && settledWidth_ == lineWrapColumnOrWidth()))
        return;
    const QSignalBlocker blocker(self); // the text stays the same to its readers
    self->settling_ = true;
    self->restoreBreaks();
    doc->documentLayout()->documentSize(); // laid out afresh without them
    const QVector<int> ends = shortLineEnds(*doc, MinWordsToStretch);
    for (int position : ends)
        replaceCharAt(doc, position, QString(QChar(QChar::LineSeparator)));
    self->keptBreaks_ = ends;
    self->settling_ = false;
    self->settledDoc_ = doc;
    self->settledWidth_ = lineWrapColumnOrWidth();
    self->linesSettled_ = true;
}

QVector<qreal> RichTextView::lineTops() const
{
    settleLines();
    const QTextDocument *doc = document();
    doc->documentLayout()->documentSize(); // finishes a layout still running in the background
    QVector<qreal> tops;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QTextLayout *layout = b.layout();
        if (!layout)
            continue;
        const qreal y = layout->position().y();
        for (int i = 0; i < layout->lineCount(); ++i)
            tops.append(y + layout->lineAt(i).y());
    }
    return tops;
}

int RichTextView::lineCount() const
{
    return int(lineTops().size());
}

int RichTextView::firstVisibleLine() const
{
    const QVector<qreal> tops = lineTops();
    if (tops.isEmpty())
        return 0;
    // The line holding the top edge: the last one starting at or above it.
    const qreal y = verticalScrollBar()->value() + tops.first() + 0.5;
    const auto it = std::upper_bound(tops.cbegin(), tops.cend(), y);
    return std::max(0, int(it - tops.cbegin()) - 1);
}

int RichTextView::charFromPos(const QPoint &point) const
{
    settleLines();
    const QPointF docPoint = QPointF(viewport()->mapFrom(this, point)) +
                             QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int pos = document()->documentLayout()->hitTest(docPoint, Qt::FuzzyHit);
    return pos < 0 ? std::max(0, document()->characterCount() - 1) : pos;
}

int RichTextView::lineFromChar(int position) const
{
    settleLines();
    const QTextDocument *doc = document();
    doc->documentLayout()->documentSize();
    const QTextBlock target = doc->findBlock(std::clamp(position, 0, std::max(0, doc->characterCount() - 1)));
    int line = 0;
    for (QTextBlock b = doc->begin(); b.isValid() && b != target; b = b.next())
        if (b.layout())
            line += b.layout()->lineCount();
    if (target.isValid() && target.layout() && target.layout()->lineCount() > 0) {
        const QTextLine l = target.layout()->lineForTextPosition(position - target.position());
        line += l.isValid() ? l.lineNumber() : target.layout()->lineCount() - 1;
    }
    return line;
}

void RichTextView::scrollLines(int delta)
{
    scrollToLine(topLine_ + delta);
}

void RichTextView::scrollToLine(int line)
{
    const QVector<qreal> tops = lineTops();
    topLine_ = tops.isEmpty() ? 0 : std::clamp(line, 0, int(tops.size()) - 1);
    // Line k at the top sits where the first line sits unscrolled, below the document margin.
    verticalScrollBar()->setValue(tops.isEmpty() ? 0 : qRound(tops[topLine_] - tops.first()));
}

void RichTextView::applyFormat(QTextDocument *doc, const Format &format, bool detached)
{
    applyingFormat_ = true;
    // A new default font lays out a shown document once more, outside the edit
    // block; every character and paragraph mark gets the face and size below
    // anyway, so only documents not yet shown take it.
    if (detached) {
        QFont base = doc->defaultFont();
        base.setFamilies({format.face});
        base.setPointSizeF(format.pointSize);
        doc->setDefaultFont(base);
    }

    QTextCursor c(doc);
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    QTextCharFormat chr;
    chr.setFontFamilies({format.face});
    chr.setFontPointSize(format.pointSize);
    c.mergeCharFormat(chr);
    QTextBlockFormat para;
    para.setAlignment(format.alignment);
    // The first line starts at startIndent, the rest at startIndent + offset.
    const double left = std::max(0.0, format.startIndent + format.offset);
    para.setLeftMargin(richtext::pointsToPixels(left));
    para.setTextIndent(richtext::pointsToPixels(format.startIndent - left));
    para.setRightMargin(richtext::pointsToPixels(std::max(0.0, format.rightIndent)));
    c.mergeBlockFormat(para);
    // An empty paragraph is as high as its mark; the first paragraph's mark lies
    // before the selection.
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.length() <= 1 || b == doc->begin()) {
            QTextCursor mark(b);
            mark.mergeBlockCharFormat(chr);
        }
    }
    c.endEditBlock();
    applyingFormat_ = false;
}

void RichTextView::formatAll(const Format &format)
{
    if (!formatCurrent_ || formattedWith_ != format) {
        const QSignalBlocker blocker(this);
        applyFormat(document(), format, false);
        formattedWith_ = format;
        formatCurrent_ = true;
    }
    setTextCursor(QTextCursor(document()));
}
