#include "core/CollectionFlow.h"

#include <algorithm>

TCollectionFlow::TCollectionFlow(TCatalogue &catalogue, TProblemListModel &problems, ICollectionPresentation &screen)
    : TPuzzleFlow(problems, screen), catalogue_(catalogue), view_(screen)
{
    problems_.SetLevelEntries(nullptr);
}

bool TCollectionFlow::Start()
{
    try {
        catalogue_.LoadCatalogue();
    } catch (...) {
        // Whatever the cause, the player sees one message and the screen goes.
        screen_.ShowCatalogueError();
        return false;
    }
    started_ = true;
    problems_.Clear();
    for (const auto &record : catalogue_.Items())
        problems_.Add(*record);
    SelectFirst();
    return true;
}

void TCollectionFlow::Decide()
{
    screen_.PlayClick();
    if (!textMode_) {
        SetTextMode(true);
        return;
    }
    TProblem *problem = problems_.Selected();
    if (!problem)
        return;
    // Anyone may answer here: the answer is judged and nothing is scored.
    const EnteredAnswer entered = screen_.RunAnswerDialog(*problem);
    if (entered.cancelled)
        return;
    if (problem->CheckAnswer(entered.answer)) {
        SetTextMode(false);
        screen_.ShowTrueAnswer();
    } else {
        screen_.ShowFalseAnswer();
    }
}

void TCollectionFlow::ViewSolution()
{
    screen_.PlayClick();
    TProblem *problem = problems_.Selected();
    if (!problem)
        return;
    problem->EnsureLoaded();
    screen_.RunAnswerViewer(problem->GetSolutionText());
}

int TCollectionFlow::HintsShown() const
{
    const TProblem *problem = problems_.Selected();
    if (!problem || hintsFor_ != problems_.SelectedIndex())
        return 0;
    return std::min(hintsShown_, int(problem->Hints.size()));
}

void TCollectionFlow::ShowHint()
{
    screen_.PlayClick();
    TProblem *problem = problems_.Selected();
    if (!problem)
        return;
    problem->EnsureLoaded();
    const int shown = HintsShown();
    if (shown >= int(problem->Hints.size()))
        return;
    hintsShown_ = shown + 1;
    hintsFor_ = problems_.SelectedIndex();
    if (textMode_)
        UpdateView();
    else
        SetTextMode(true);
}

CollectionView TCollectionFlow::UpdateView()
{
    // Another puzzle chosen: its hints start hidden, and so do these next time.
    if (problems_.SelectedIndex() != hintsFor_) {
        hintsFor_ = -1;
        hintsShown_ = 0;
    }
    CollectionView view;
    view.textMode = textMode_;
    const TProblem *problem = problems_.Selected();
    view.hasSelection = problem != nullptr;
    view.hintsShown = HintsShown();
    view.hintEnabled = problem && view.hintsShown < int(problem->Hints.size());
    view_.ShowView(view);
    return view;
}

bool TCollectionFlow::CloseQuery()
{
    return !started_ || screen_.Ask(puzzles::LeaveQuestion()) == Reply::Yes;
}

void TCollectionFlow::End()
{
    catalogue_.FreeCatalogue();
}
