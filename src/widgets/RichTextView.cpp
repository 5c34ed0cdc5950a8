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
    syncLayoutWidth();
}

void RichTextView::setRtf(const QByteArray &rtf)
{
    lastError_.clear();
    // The new content is built in a document of its own, with no layout yet, and
    // given the last whole-text format there; the view then lays it out once, and
    // the usual re-format after the change finds nothing left to do.
    const QPointer<QTextDocument> old = document();
    auto *doc = new QTextDocument(this);
    doc->setUndoRedoEnabled(false);
    doc->setDocumentMargin(old->documentMargin());
    doc->setDefaultFont(old->defaultFont());
    doc->setDefaultTextOption(old->defaultTextOption());
    if (rtf.isEmpty()) {
        // an empty page
    } else if (richtext::looksLikeRtf(rtf)) {
        richtext::readRtf(rtf, doc, &lastError_);
    } else {
        doc->setPlainText(platform::fromCp1251(rtf));
    }
    if (formattedWith_)
        applyFormat(doc, *formattedWith_, true);
    const bool preformatted = formattedWith_.has_value();
    {
        const QSignalBlocker blocker(this);  // contentReplaced below is the one notice
        setDocument(doc);
    }
    if (old && old->parent() == this)  // the view may have freed it already
        delete old.data();
    connect(doc, &QTextDocument::contentsChange, this, [this] {
        if (!applyingFormat_)
            formatCurrent_ = false;
    });
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

QVector<qreal> RichTextView::lineTops() const
{
    syncLayoutWidth();
    const QTextDocument *doc = document();
    doc->documentLayout()->documentSize();  // finishes a layout still running in the background
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

int RichTextView::lineCount() const { return int(lineTops().size()); }

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
    syncLayoutWidth();
    const QPointF docPoint = QPointF(viewport()->mapFrom(this, point)) +
                             QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int pos = document()->documentLayout()->hitTest(docPoint, Qt::FuzzyHit);
    return pos < 0 ? std::max(0, document()->characterCount() - 1) : pos;
}

int RichTextView::lineFromChar(int position) const
{
    syncLayoutWidth();
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

void RichTextView::scrollLines(int delta) { scrollToLine(topLine_ + delta); }

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
