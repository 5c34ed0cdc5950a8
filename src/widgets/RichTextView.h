#pragma once
// A read-only rich-text box on QTextEdit with the line arithmetic the game's text
// viewers need: wrapped line counts, the first visible line, hit tests, scrolling
// by whole lines and one-call formatting of the whole text.
#include <QByteArray>
#include <QString>
#include <QTextEdit>
#include <optional>

class RichTextView : public QTextEdit
{
    Q_OBJECT
  public:
    explicit RichTextView(QWidget *parent = nullptr);

    // Replaces the content (and the document object) with an RTF document (Windows-1251 bytes); bytes that
    // are not RTF are shown as plain Windows-1251 text, and a refused document as an empty page (lastError()
    // says why). Emits contentReplaced() afterwards.
    void setRtf(const QByteArray &rtf);
    // A passage shown after the text: a bold heading on a line of its own, then
    // its own RTF (or Windows-1251) text.
    struct Note {
        QString heading;
        QByteArray rtf;
    };
    // The text followed by the notes, in order, as one document.
    void setRtf(const QByteArray &rtf, const QList<Note> &notes);
    // Where each note's heading begins in the document, in order.
    const QList<int> &noteStarts() const { return noteStarts_; }
    QString lastError() const { return lastError_; }

    // Display lines of the whole text, wrapped lines counted.
    int lineCount() const;
    // The line at the top edge of the view (0-based).
    int firstVisibleLine() const;
    // The character position nearest to a point given in this widget's coordinates.
    int charFromPos(const QPoint &point) const;
    // The display line that holds a character position.
    int lineFromChar(int position) const;
    // Scrolls by a signed number of lines from the line last scrolled to; the view
    // stops where the text ends, as far as the widget can scroll.
    void scrollLines(int delta);
    void scrollToLine(int line);

    struct Format {
        QString face;
        double pointSize = 10;
        Qt::Alignment alignment = Qt::AlignJustify;
        double startIndent = 0; // points: first line of a paragraph from the left edge
        double offset = 0;      // points: following lines relative to the first
        double rightIndent = 0; // points
        bool operator==(const Format &) const = default;
    };
    // Sets face, size, alignment and indents of the whole text and leaves the caret
    // at the start with nothing selected. Colours, bold, italics and the rest of
    // the formatting stay; no change is notified.
    void formatAll(const Format &format);

    // A justified line with fewer words than this is not stretched: its one or
    // two gaps would open wide.
    static constexpr int MinWordsToStretch = 4;

  signals:
    // The content was replaced by setRtf (format changes never emit it).
    void contentReplaced();

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    void syncLayoutWidth() const;
    // Lays the text out at the view's width, with the short justified lines
    // left unstretched: the space that ends such a line becomes a line
    // separator, which breaks the line where it broke anyway and which the
    // layout never stretches. Undone and done again when the width or the text changes.
    void settleLines() const;
    void restoreBreaks();
    // Document y of every display line's top, in order.
    QVector<qreal> lineTops() const;

    void applyFormat(QTextDocument *doc, const Format &format, bool detached);

    void readInto(QTextDocument *doc, const QByteArray &rtf);
    void appendNote(QTextDocument *doc, const Note &note);

    QString lastError_;
    QList<int> noteStarts_;
    std::optional<Format> formattedWith_; // the last whole-text format, given to new texts too
    bool formatCurrent_ = false;          // the document still has it everywhere
    bool applyingFormat_ = false;
    int topLine_ = 0;
    // The spaces made line separators, and the layout they were chosen for.
    QVector<int> keptBreaks_;
    const QTextDocument *settledDoc_ = nullptr;
    int settledWidth_ = -1;
    bool linesSettled_ = false;
    bool settling_ = false;
    void watch(QTextDocument *doc);
};
