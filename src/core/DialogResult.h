#pragma once
// What the player's dialogs end with, as the rules read them. Each screen turns
// its window's modal code into one of these in one place, so no caller compares
// raw codes.
#include "core/Problem.h"

// The answer dialog's modal code: the answer was right, wrong, or the player left it.
enum class AnswerVerdict { Right, Wrong, Cancelled };

// What the answer dialog hands the flow: the entry as packed, unless the player
// left the dialog. The flow judges and scores it.
struct EnteredAnswer {
    bool cancelled = true;
    AnswerValue answer;
};

// A yes/no question; closing the box counts as no.
enum class Reply { Yes, No };
