#include "core/PuzzleFlow.h"

#include <exception>

void TPuzzleFlow::SetTextMode(bool on)
{
    if (!problems_.Selected())
        return;
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
