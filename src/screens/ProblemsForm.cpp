#include "screens/ProblemsForm.h"

#include "platform/Sounds.h"
#include "screens/SolutionForm.h"
#include "screens/MessageBoxForm.h"
#include "screens/ReplyForm.h"
#include "screens/Texts.h"

#include <QKeyEvent>

TProblemsForm::TProblemsForm(QWidget *owner, const QString &programDir) : TAbstractForm(owner, programDir)
{
    setObjectName(QStringLiteral("ProblemsForm"));
    FormCreate();
}

TProblemsForm::~TProblemsForm() = default;

void TProblemsForm::FormCreate()
{
    setClientSize(ScreenWidth, ScreenHeight);

    TopPanel = screens::makeTopPanel(this, "FlatTabControl1", PanelImage);
    ProblemName = new TLabel(TopPanel);
    ProblemName->setObjectName(QStringLiteral("ProblemName"));
    ProblemName->setFont(zw::gameFont(24));
    ProblemName->setAutoSize(false);
    ProblemName->setAlignment(Qt::AlignRight | Qt::AlignTop);
    ProblemName->setTransparent(true);
    ProblemName->setGeometry(306, 18, 418, 49);
    ProblemName->setToolTip(texts::PuzzleNameHint);
    ProblemName->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    DiffImage = new TPictureBox(TopPanel);
    DiffImage->setObjectName(QStringLiteral("DiffImage"));
    DiffImage->setGeometry(735, 12, 50, 50);
    DiffFrame = screens::makeFrame(TopPanel, "Shape1", {735, 12, 50, 50}, QStringLiteral("Сложность"));

    SetUpPuzzleViews(345, false, QColor(0, 0, 0));
    ProblemsList->setToolTip(QStringLiteral("Список головоломок"));

    ProblemImage = new TPictureBox(this);
    ProblemImage->setObjectName(QStringLiteral("ProblemImage"));
    ProblemImage->setGeometry(355, 80, PictureWidth, PictureHeight);
    ProblemImage->setToolTip(texts::PictureHint);
    ImageShape = screens::makeFrame(this, "Ramka", {355, 80, PictureWidth, PictureHeight}, texts::PictureHint);

    CloseButton = screens::makeButton(this, "CloseButton", {8, 552, 129, 33}, texts::Back, texts::BackHint);
    AnswerButton = screens::makeButton(this, "AnswerButton", {460, 552, 185, 33}, texts::ViewSolution,
                                       texts::ViewSolutionHint);
    DecideButton = screens::makeButton(this, "DecideButton", {664, 552, 129, 33}, texts::Decide, texts::DecideHint);
    connect(CloseButton, &QAbstractButton::clicked, this, &TProblemsForm::CloseButtonClick);
    connect(AnswerButton, &QAbstractButton::clicked, this, &TProblemsForm::AnswerButtonClick);
    connect(DecideButton, &QAbstractButton::clicked, this, &TProblemsForm::DecideButtonClick);
    SetFocusTarget(DecideButton);

    screens::Guarded([this] {
        PanelImage->setTile(screens::mediaBitmap(QStringLiteral("ListPanel")));
        SetBackgroundTile(screens::mediaBitmap(QStringLiteral("texture")));
    });

    try {
        Catalogue.LoadCatalogue();
    } catch (...) {
        // Whatever the cause, the player sees one message and the screen goes.
        ShowCatalogueErrorDialog();
        MarkStartFailed();
        return;
    }
    for (const auto &record : Catalogue.Items())
        ProblemsList->AddProblem(*record, nullptr);
    ProblemsList->RebuildRows();
    SelectItem(0);
    screens::Guarded([this] { UpdateView(); });
}

// ---- handlers ------------------------------------------------------------

void TProblemsForm::SelectItem(int position)
{
    if (!screens::Guarded([&] { ProblemsList->SelectItem(position); })) {
        // The puzzle stays selected without its picture; the screen says so.
        stretched_ = QImage();
        screens::Guarded([this] { UpdateView(); });
    }
}

void TProblemsForm::ProblemsListChangeItem()
{
    const TProblem *item = ProblemsList->SelectedProblem();
    if (item && !item->Picture.isNull())
        stretched_ = item->Picture.scaled(PictureWidth, PictureHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    else
        stretched_ = QImage();
    UpdateView();
}

void TProblemsForm::ProblemsListDblClick()
{
    if (ProblemsList->SelectedProblem())
        DecideButtonClick();
}

void TProblemsForm::CloseButtonClick()
{
    platform::PlayClick();
    if (textMode_)
        SetTextMode(false);
    else
        close();
}

void TProblemsForm::DecideButtonClick()
{
    screens::Guarded([this] {
        platform::PlayClick();
        if (!textMode_) {
            SetTextMode(true);
            return;
        }
        TProblem *problem = ProblemsList->SelectedProblem();
        if (!problem)
            return;
        const AnswerVerdict verdict = RunAnswerDialog(*problem);
        if (verdict == AnswerVerdict::Right) {
            SetTextMode(false);
            screens::Messages().ShowTrueAnswer();
        } else if (verdict == AnswerVerdict::Wrong) {
            screens::Messages().ShowFalseAnswer();
        }
    });
}

void TProblemsForm::AnswerButtonClick()
{
    screens::Guarded([this] {
        platform::PlayClick();
        if (TProblem *problem = ProblemsList->SelectedProblem()) {
            // A puzzle that failed to load is read again rather than shown empty.
            if (!problem->Loaded)
                problem->LoadData();
            RunAnswerViewer(problem->GetSolutionText());
        }
    });
}

AnswerVerdict TProblemsForm::RunAnswerDialog(TProblem &problem)
{
    return TReplyForm::Run(this, problem, nullptr);
}

void TProblemsForm::RunAnswerViewer(const QByteArray &solution)
{
    auto *viewer = new TSolutionForm(this, solution);
    viewer->ShowModal();
}

bool TProblemsForm::FormKeyDown(QKeyEvent *event)
{
    return PuzzleKeyDown(
        event, [this] { DecideButtonClick(); }, [this] { CloseButtonClick(); });
}

bool TProblemsForm::FormCloseQuery()
{
    if (StartFailed())
        return true;
    return screens::Messages().Ask(LeaveQuestion()) == Reply::Yes;
}

void TProblemsForm::FormClose(CloseAction &action)
{
    Catalogue.FreeCatalogue();
    action = CloseAction::Free;
}

void TProblemsForm::UpdateView()
{
    DiffImage->clearPicture();
    const TProblem *item = ProblemsList->SelectedProblem();
    if (item) {
        DecideButton->setEnabled(true);
        AnswerButton->setEnabled(true);
        ProblemName->setCaption(item->Name);
        if (const std::optional<Difficulty> grade = knownDifficulty(item->Difficult))
            DiffImage->setPicture(screens::mediaBitmap(QStringLiteral("DIFF%1").arg(indexOf(*grade) + 1)));
        ProblemImage->setPicture(stretched_);
        if (textMode_) {
            ProblemsList->hide();
            DecideButton->setText(texts::Answer);
            ProblemText->show();
            // The same puzzle's text stays where the reader left it.
            if (shownText_ != item) {
                ProblemText->SetText(item->GetStatementText());
                shownText_ = item;
            }
        } else {
            DecideButton->setText(texts::Decide);
            ProblemsList->show();
            ProblemText->hide();
            shownText_ = nullptr;
        }
    } else {
        QImage white(PictureWidth, PictureHeight, QImage::Format_RGB888);
        white.fill(Qt::white);
        ProblemImage->setPicture(white);
        DecideButton->setEnabled(false);
        AnswerButton->setEnabled(false);
        ProblemName->setCaption(QString());
    }
    ProblemsList->update();
    FocusForMode();
}
