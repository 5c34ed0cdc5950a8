#include "screens/ProblemsForm.h"

#include "platform/Sounds.h"
#include "screens/AnswerForm.h"
#include "screens/MessageBoxForm.h"
#include "screens/ReplyForm.h"
#include "screens/Texts.h"

#include <QKeyEvent>

namespace {

TShape *makeFrame(QWidget *parent, const char *name, const QRect &r, const QString &hint)
{
    auto *s = new TShape(parent);
    s->setObjectName(QLatin1String(name));
    s->setPenColor(zw::clGray);
    s->setBrushColor(std::nullopt);
    s->setGeometry(r);
    s->setToolTip(hint);
    s->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    return s;
}

TFlatButton *makeButton(QWidget *parent, const char *name, const QRect &r, const QString &caption, const QString &hint)
{
    auto *b = new TFlatButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(r);
    b->setText(caption);
    b->setFont(zw::gameFont(19));
    b->setToolTip(hint);
    b->setColorFace(zw::clPanel);
    TAbstractForm::MakeTabStop(b);
    return b;
}

}  // namespace

TProblemsForm::TProblemsForm(QWidget *owner, const QString &programDir) : TAbstractForm(owner, programDir)
{
    setObjectName(QStringLiteral("ProblemsForm"));
    FormCreate();
}

TProblemsForm::~TProblemsForm() = default;

void TProblemsForm::FormCreate()
{
    setClientSize(ScreenWidth, ScreenHeight);

    FlatTabControl1 = new TFlatPanel(this);
    FlatTabControl1->setObjectName(QStringLiteral("FlatTabControl1"));
    FlatTabControl1->setGeometry(0, 0, 800, 75);
    FlatTabControl1->setColor(zw::clPanel);
    FlatTabControl1->setColorBorder(zw::clGray);
    PanelImage = new TTiledShape(FlatTabControl1);
    PanelImage->setObjectName(QStringLiteral("PanelImage"));
    PanelImage->setGeometry(0, 0, 800, 75);
    ProblemName = new TLabel(FlatTabControl1);
    ProblemName->setObjectName(QStringLiteral("ProblemName"));
    ProblemName->setFont(zw::gameFont(24));
    ProblemName->setAutoSize(false);
    ProblemName->setAlignment(Qt::AlignRight | Qt::AlignTop);
    ProblemName->setTransparent(true);
    ProblemName->setGeometry(306, 18, 418, 49);
    ProblemName->setToolTip(texts::PuzzleNameHint);
    ProblemName->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    DiffImage = new TPictureBox(FlatTabControl1);
    DiffImage->setObjectName(QStringLiteral("DiffImage"));
    DiffImage->setGeometry(735, 12, 50, 50);
    Shape1 = makeFrame(FlatTabControl1, "Shape1", {735, 12, 50, 50}, QStringLiteral("Сложность"));

    ProblemsList->setFont(zw::gameFont(17));
    ProblemsList->BeginLoad();
    ProblemsList->setGeometry(5, 80, 345, 460);
    ProblemsList->SetGameMode(false);
    ProblemsList->SetItemHeight(22);
    ProblemsList->SetScrollBars(true);
    ProblemsList->SetColor(zw::toQColor(zw::clPanel));
    ProblemsList->SetColorArrow(QColor(0, 0, 0));
    ProblemsList->SetColorBorder(QColor(128, 128, 128));
    ProblemsList->SetColorItemsSelect(zw::toQColor(zw::clPanel));
    ProblemsList->setToolTip(QStringLiteral("Список головоломок"));
    // Reads the list's own pictures; a missing one is reported, the screen still opens.
    screens::Guarded([this] { ProblemsList->Loaded(); });
    connect(ProblemsList, &TFlatListBoxEx::changeItem, this, [this] { screens::Guarded([this] { ProblemsListChangeItem(); }); });
    connect(ProblemsList, &TFlatListBoxEx::doubleClicked, this, [this] { ProblemsListDblClick(); });

    ProblemText->setGeometry(6, 81, 344, 459);
    ProblemText->SetEditWidth(344);
    ProblemText->SetBorderColor(zw::clGray);
    ProblemText->SetSColor(zw::clPanel);
    ProblemText->SetHotColor(zw::clFocus);
    ProblemText->setToolTip(texts::StatementHint);
    ProblemText->hide();

    ProblemImage = new TPictureBox(this);
    ProblemImage->setObjectName(QStringLiteral("ProblemImage"));
    ProblemImage->setGeometry(355, 80, PictureWidth, PictureHeight);
    ProblemImage->setToolTip(texts::PictureHint);
    Ramka = makeFrame(this, "Ramka", {355, 80, PictureWidth, PictureHeight}, texts::PictureHint);

    CloseButton = makeButton(this, "CloseButton", {8, 552, 129, 33}, texts::Back,
                             texts::BackHint);
    AnswerButton = makeButton(this, "AnswerButton", {460, 552, 185, 33}, texts::ViewSolution,
                              texts::ViewSolutionHint);
    DecideButton = makeButton(this, "DecideButton", {664, 552, 129, 33}, texts::Decide,
                              texts::DecideHint);
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
    return TQForm::Run(this, problem, nullptr);
}

void TProblemsForm::RunAnswerViewer(const QByteArray &solution)
{
    auto *viewer = new TAnswerForm(this, solution);
    viewer->ShowModal();
}

bool TProblemsForm::FormKeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // A button with the focus takes Enter as its own click; the form then leaves it.
        auto *focused = qobject_cast<TFlatButton *>(focusWidget());
        if (focused && focused->window() == this && focused->isEnabled() && focused->isVisible()) {
            focused->click();
            return true;
        }
        DecideButtonClick();
        return false;
    }
    case Qt::Key_Escape:
        CloseButtonClick();
        return true;
    default:
        return false;
    }
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
