#pragma once
// What the player's dialogs end with, as the rules read them. Each screen turns
// its window's modal code into one of these in one place, so no caller compares
// raw codes.

// The answer dialog: the answer was right, wrong, or the player left it.
enum class AnswerVerdict { Right, Wrong, Cancelled };

// A yes/no question; closing the box counts as no.
enum class Reply { Yes, No };
