#pragma once
// Graded hints travel in the data file as a tagged block after the solution.
// Readers that stop at the end of the solution, as every earlier build does,
// never see it, so a file with hints still loads there unchanged.
//
// Layout: the tag "HINT", a signed 32-bit length of the rest of the block, a
// count byte, then per hint a signed 32-bit length and the rich text. Bytes
// inside the block after the last hint, and anything after the block, are left
// for later additions.
#include "platform/InputLimits.h"

#include <QByteArray>
#include <QList>

inline constexpr char HintBlockTag[] = "HINT";
inline constexpr int HintBlockTagSize = 4;
inline constexpr int MaxHints = 3;
// The whole block after its tag and length; anything past it is damage.
inline constexpr int MaxHintBlockSize = limits::MaxHintBlockSize;

// Appends the block to a data file that ends with its solution. Writes nothing
// for no hints; takes at most MaxHints, and drops those that would overflow
// MaxHintBlockSize.
void appendHintBlock(QByteArray &out, const QList<QByteArray> &hints);

struct HintBlockRead {
    QList<QByteArray> hints; // those that could be read whole, in order
    bool damaged = false;    // a block was begun but is not sound
};

// Reads the bytes after the solution. No tag means no hints and no damage:
// older files may carry anything there. Never throws.
HintBlockRead readHintBlock(const char *data, qsizetype size);
