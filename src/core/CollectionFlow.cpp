#include "core/CollectionFlow.h"

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

CollectionView TCollectionFlow::UpdateView()
{
    CollectionView view;
    view.textMode = textMode_;
    view.hasSelection = problems_.Selected() != nullptr;
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
