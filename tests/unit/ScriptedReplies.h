#pragma once
// The answers a scripted screen gives to the questions it is asked, in turn.
#include "core/DialogResult.h"

#include <deque>

namespace testscript {

// The next scripted reply, or yes once the script has run out.
inline Reply nextReply(std::deque<Reply> &replies)
{
    if (replies.empty())
        return Reply::Yes;
    const Reply r = replies.front();
    replies.pop_front();
    return r;
}

}  // namespace testscript
