#pragma once
// What a group of the RTF has in force: where its text goes, the character and
// paragraph properties, and the number of fallback characters after \u. Each
// group starts with a copy of its outer group's state, which comes back at its end.
#include "RtfKeywords.h"

#include <QVector>
#include <Qt>

namespace richtext::rtf
{

enum class Dest : quint8 { Normal, Skip, FontTable, ColorTable, Pict };

struct CharState {
    bool bold = false, italic = false, underline = false, strike = false, hidden = false;
    qint8 vertical = 0; // -1 subscript, 1 superscript
    int font = -1;      // -1: the default font (\deff)
    int halfPoints = 0; // 0: not set, the document's default size
    int color = 0, highlight = 0;
    bool operator==(const CharState &) const = default;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int fi = 0, li = 0, ri = 0, sb = 0, sa = 0; // twips
};

struct GroupState {
    Dest dest = Dest::Normal;
    CharState chr;
    ParaState para;
    int uc = 1;
};

// Character formatting; a toggle without a parameter, or with one other than 0,
// turns on. False when the word is not one of them.
bool applyCharacterWord(CharState &chr, Kw kw, bool hasParam, int param);
// Paragraph alignment, indents and spacing. False when the word is not one of them.
bool applyParagraphWord(ParaState &para, Kw kw, int param);

// The state in force and those of the groups around it.
class GroupStack
{
  public:
    GroupState &current() { return current_; }
    const GroupState &current() const { return current_; }
    int depth() const { return int(outer_.size()); }

    void open() { outer_.append(current_); }
    // Gives the closed group's state back; there must be an open group.
    GroupState close()
    {
        GroupState inner = current_;
        current_ = outer_.takeLast();
        return inner;
    }

  private:
    QVector<GroupState> outer_;
    GroupState current_;
};

} // namespace richtext::rtf
