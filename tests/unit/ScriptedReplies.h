#pragma once
// The answers a scripted screen gives to the questions and answer dialogs it
// is asked, in turn.
#include "core/DialogResult.h"

#include <deque>

namespace testscript
{

// The next scripted reply, or yes once the script has run out.
inline Reply nextReply(std::deque<Reply> &replies)
{
    if (replies.empty())
        return Reply::Yes;
    const Reply r = replies.front();
    replies.pop_front();
    return r;
}

// What a player enters in the answer dialog to be right, wrong or leave it.
// The screen only enters: judging and scoring are the flow's.
inline EnteredAnswer enter(const TProblem &item, AnswerVerdict how)
{
    EnteredAnswer entered;
    if (how == AnswerVerdict::Cancelled)
        return entered;
    entered.cancelled = false;
    entered.answer = item.AnswerData;
    // Another first byte is another number, text length or count, never the stored answer.
    if (how == AnswerVerdict::Wrong)
        entered.answer.bytes[0] ^= 1;
    return entered;
}

} // namespace testscript
