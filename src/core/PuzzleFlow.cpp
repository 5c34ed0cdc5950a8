#include "core/PuzzleFlow.h"

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
        screen_.ReportError(QString::fromUtf8(e.what()));
    } catch (...) {
        screen_.ReportError(QStringLiteral("Unknown error"));
    }
    Refresh();
}
