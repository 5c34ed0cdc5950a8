#pragma once
// The largest inputs the game and its tools accept. Each is well above what a
// real puzzle pack or profile holds, and far below what would cost the game
// its memory or minutes: a file beyond its limit is refused before it is read.
#include <QtGlobal>

namespace limits
{

// One rich text (a statement or a solution): the rich-text reader reads no more.
inline constexpr qsizetype MaxTextBytes = 16 * 1024 * 1024;

// The graded hints' block after the solution, after its tag and length. Three
// hints of a few hundred characters take a few kilobytes as rich text.
inline constexpr int MaxHintBlockSize = 16384;

// A data file holding both texts at their limit and 255 lines of 255 bytes,
// with its fixed fields, and the hint block (tag, length, block) at its limit.
inline constexpr qsizetype MaxDataFileBytes =
    1 + 4 + MaxTextBytes + 1 + 32 + 1 + 255 * 256 + 4 + MaxTextBytes + 4 + 4 + MaxHintBlockSize;

// list.lst: ids are 16-bit, so a pack has at most 65536 puzzles; at 128 bytes
// a section that is 8 MiB.
inline constexpr qsizetype MaxCatalogueBytes = 8 * 1024 * 1024;
inline constexpr int MaxCatalogueSections = 65536;

// One puzzle's source (puzzle.toml): its texts are written by hand.
inline constexpr qsizetype MaxPuzzleSourceBytes = 1024 * 1024;

// Media.dll: the game's own is about 2 MiB.
inline constexpr qsizetype MaxMediaLibraryBytes = 64 * 1024 * 1024;

// A player's name, in characters: what the name box takes.
inline constexpr int MaxNameLength = 14;

// An exported profile: a name, fourteen values and both lists at capacity fit
// in a few kilobytes; its answer log, about 130 bytes a record, takes the rest
// (the 100,000 records a player keeps come to some 13 MiB).
inline constexpr qsizetype MaxProfileFileBytes = 16 * 1024 * 1024;

} // namespace limits
