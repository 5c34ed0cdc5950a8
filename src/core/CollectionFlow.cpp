#include "core/CollectionFlow.h"

#include <algorithm>

TCollectionFlow::TCollectionFlow(TCatalogue &catalogue, TProblemListModel &problems,
                                 ICollectionPresentation &screen, IStarStore *stars)
    : TPuzzleFlow(problems, screen), catalogue_(catalogue), view_(screen), store_(stars)
{
    problems_.SetLevelEntries(nullptr);
    problems_.SetStars(&stars_);
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
    if (store_)
        stars_ = store_->LoadStars();
    problems_.Clear();
    std::vector<const TProblem *> records;
    records.reserve(catalogue_.Items().size());
    for (const auto &record : catalogue_.Items()) {
        problems_.Add(*record);
        records.push_back(record.get());
    }
    index_.Assign(records);
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
    const TProblem *selected = problems_.Selected();
    view.hasSelection = selected != nullptr;
    view.selectedStarred = selected && stars_.Contains(selected->Id);
    view.shown = problems_.Count();
    view.total = problems_.TotalCount();
    view.filter = filter_;
    view.hintsShown = HintsShown();
    view.hintEnabled = selected && view.hintsShown < int(selected->Hints.size());
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

void TCollectionFlow::SetFilter(const ProblemFilter &filter)
{
    filter_ = filter;
    // Kinds live in the data files: read once, when first asked for.
    if (filter_.answerKinds != 0 && !index_.KindsKnown())
        index_.ReadKinds();
    if (filter_.IsEmpty())
        problems_.ShowAll();
    else
        problems_.SetShown(index_.Shown(filter_, stars_));
    KeepSelectionShown();
}

void TCollectionFlow::KeepSelectionShown()
{
    const bool hidden = problems_.Selected() && problems_.SelectedIndex() < 0;
    if (hidden || !problems_.Selected()) {
        // The text of a puzzle no longer listed goes back to the list.
        textMode_ = false;
        if (problems_.Count() == 0) {
            problems_.ClearSelection();
        } else {
            SelectFirst();
            return;
        }
    }
    Refresh();
}

void TCollectionFlow::ToggleStar()
{
    const TProblem *problem = problems_.Selected();
    if (!problem)
        return;
    stars_.Toggle(problem->Id);
    // A failed write keeps the mark for this screen; the settings file is no
    // place to report from.
    if (store_)
        store_->SaveStars(stars_);
    if (filter_.starredOnly)
        SetFilter(filter_);
    else
        Refresh();
}
