#pragma once
// Puts what the reader finds into a QTextDocument: text in runs of one format,
// paragraphs with their properties, pictures. Formats are made from the group
// state and the font and colour tables as they stand when the text is put in.
#include "RtfPicture.h"
#include "RtfState.h"
#include "RtfTables.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QVector>

#include <string_view>
#include <utility>

class QTextDocument;

namespace richtext::rtf
{

class DocumentBuilder
{
  public:
    DocumentBuilder(QTextDocument *document, const FontTable &fonts, const ColorTable &colors);

    // One edit block around the whole reading: the layout hears of the new content once, not per run.
    void begin() { cursor_.beginEditBlock(); }
    void end() { cursor_.endEditBlock(); }

    void addChar(QChar ch, const GroupState &state)
    {
        startRun(state);
        text_ += ch;
    }
    // Plain bytes of one code page, all in the same state.
    void addBytes(std::string_view bytes, const platform::ByteTable &characters, const GroupState &state)
    {
        startRun(state);
        for (char c : bytes)
            text_ += QChar(characters[static_cast<unsigned char>(c)]);
    }
    void paragraphMark(const GroupState &state);
    void addPicture(const DecodedPicture &picture, const GroupState &state);
    // After the last token: what is still held goes in, and the last paragraph gets its properties.
    void finish(const GroupState &state);

  private:
    void startPendingParagraph(const GroupState &state)
    {
        if (pendingPar_)
            startParagraph(state);
    }
    void startParagraph(const GroupState &state);
    // Text is held until its character format changes, then put in as one run.
    void startRun(const GroupState &state)
    {
        startPendingParagraph(state);
        if (!text_.isEmpty() && !(textState_ == state.chr))
            flushText();
        if (text_.isEmpty())
            textState_ = state.chr;
    }
    void applyBlockFormat(const GroupState &state);
    void flushText();
    QTextCharFormat charFormat(const CharState &s);

    QTextDocument *document_;
    QTextCursor cursor_;
    const FontTable &fonts_;
    const ColorTable &colors_;
    QString text_;
    CharState textState_;
    bool pendingPar_ = false;
    int pictures_ = 0;
    QVector<std::pair<CharState, QTextCharFormat>> formatCache_;
};

} // namespace richtext::rtf
