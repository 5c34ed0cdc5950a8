#include "core/PuzzleFlow.h"

#include "core/Errors.h"

#include <cstdio>
#include <exception>

void TPuzzleFlow::SetTextMode(bool on)
{
    TProblem *problem = problems_.Selected();
    if (!problem)
        return;
    // A puzzle that failed to load is read again rather than shown as an empty
    // text; while it still cannot be read, its error goes up and the list stays.
    if (on)
        problem->EnsureLoaded();
    textMode_ = on;
    Refresh();
}

void TPuzzleFlow::Back()
{
    screen_.PlayClick();
    if (textMode_)
        SetTextMode(false);
    else
        screen_.CloseScreen();
}

void TPuzzleFlow::SelectFirst()
{
    try {
        problems_.Select(0);
    } catch (const std::exception &e) {
        // The player reads what to do; the log keeps the file and the reason.
        std::fprintf(stderr, "zentrika: %s\n", e.what());
        screen_.ReportError(playerMessage(e));
    } catch (...) {
        std::fprintf(stderr, "zentrika: Unknown error\n");
        screen_.ReportError(playerMessage());
    }
    Refresh();
}

void TPuzzleFlow::ForgetMemo(ProblemId id) noexcept
{
    try {
        memos_->Remove(id);
    } catch (const std::exception &) {
    }
}
