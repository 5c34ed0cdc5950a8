#include "core/PuzzleScreen.h"

#include "core/ProblemListModel.h"

#include <exception>

namespace puzzles {

void SelectReporting(TProblemListModel &problems, int position, IPuzzleScreen &screen)
{
    try {
        problems.Select(position);
    } catch (const std::exception &e) {
        screen.ReportError(QString::fromUtf8(e.what()));
    } catch (...) {
        screen.ReportError(QStringLiteral("Unknown error"));
    }
}

}  // namespace puzzles
