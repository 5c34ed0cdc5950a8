#include "screens/ProblemsForm.h"

#include "screens/Texts.h"

#include <QKeyEvent>

namespace
{
// The list starts under the filter bar and keeps whole rows down to the
// text viewer's foot.
constexpr int kFilterTop = 80;
constexpr int kListTop = 132;
} // namespace

TProblemsForm::TProblemsForm(GameContext &context, QWidget *owner, const QString &programDir)
    : TAbstractForm(context, "ProblemsForm", owner, programDir),
      flow_(Catalogue, Problems, *this, context.stars)
{
    if (context.memos)
        flow_.KeepMemosIn(*context.memos);
    SetFlow(flow_);
    FormCreate();
}

void TProblemsForm::FormCreate()
{
    createTopPanel();

    SetUpPuzzleViews(345, false, QColor(0, 0, 0), kListTop);
    ProblemsList->setToolTip(QStringLiteral("Список головоломок"));
    createFilterBar();

    ProblemImage = new TPictureBox(this);
    ProblemImage->setObjectName(QStringLiteral("ProblemImage"));
    ProblemImage->setGeometry(355, 80, PictureWidth, PictureHeight);
    ProblemImage->setToolTip(texts::PictureHint);
    ImageShape =
        screens::makeFrame(this, "Ramka", {355, 80, PictureWidth, PictureHeight}, texts::PictureHint);

    AnswerButton = CreateButtons<TFlatButton>("AnswerButton", {8, 129}, {460, 185}, {664, 129});
    // Tab goes from the filter to the list it narrows, then the star and the buttons.
    setTabOrder(FilterBar->KindBox, ProblemsList);
    setTabOrder(ProblemsList, StarButton);
    setTabOrder(StarButton, CloseButton);

    screens::Guarded([this] {
        PanelImage->setTile(screens::mediaBitmap(Context.media, QStringLiteral("ListPanel")));
        SetBackgroundTile(screens::mediaBitmap(Context.media, QStringLiteral("texture")));
    });

    screens::Guarded([this] {
        if (!flow_.Start())
            MarkStartFailed();
    });
}

void TProblemsForm::createTopPanel()
{
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

    // Left of the panel picture's title, the count under it.
    StarButton = screens::makeButton(TopPanel, "StarButton", {8, 14, 46, 46}, QStringLiteral("☆"),
                                     QStringLiteral("Отметить звёздочкой (Insert или *)"));
    StarButton->setFont(zw::gameFont(30));
    connect(StarButton, &QAbstractButton::clicked, this, &TProblemsForm::StarButtonClick);
    FilterInfo = new TLabel(TopPanel);
    FilterInfo->setObjectName(QStringLiteral("FilterInfo"));
    FilterInfo->setFont(zw::gameFont(14));
    FilterInfo->setAutoSize(false);
    FilterInfo->setTransparent(true);
    FilterInfo->setGeometry(66, 52, 230, 20);
}

void TProblemsForm::createFilterBar()
{
    FilterBar = new TCollectionFilterBar(this);
    FilterBar->move(5, kFilterTop);
    connect(FilterBar, &TCollectionFilterBar::changed, this,
            [this] { screens::Guarded([this] { flow_.SetFilter(FilterBar->Read()); }); });
    connect(FilterBar, &TCollectionFilterBar::clearRequested, this, &TProblemsForm::ClearFilterClick);
}

void TProblemsForm::StarButtonClick()
{
    PlayClick();
    screens::Guarded([this] { flow_.ToggleStar(); });
}

void TProblemsForm::ClearFilterClick()
{
    PlayClick();
    screens::Guarded([this] { flow_.ClearFilter(); });
}

bool TProblemsForm::FormKeyDown(QKeyEvent *event)
{
    const bool inSearch = FilterBar->SearchEdit->hasFocus();
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (event->matches(QKeySequence::Find)) {
        if (textMode_)
            SetTextMode(false);
        FilterBar->SearchEdit->setFocus(Qt::ShortcutFocusReason);
        FilterBar->SearchEdit->selectAll();
        return true;
    }
    if ((event->key() == Qt::Key_Backspace && control) ||
        (event->key() == Qt::Key_Escape && inSearch && !flow_.Filter().IsEmpty())) {
        ClearFilterClick();
        return true;
    }
    if (event->key() == Qt::Key_Insert || (event->key() == Qt::Key_Asterisk && !inSearch)) {
        StarButtonClick();
        return true;
    }
    if (event->key() == Qt::Key_Down && inSearch && Problems.Count() > 0) {
        ProblemsList->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return TAbstractForm::FormKeyDown(event);
}

void TProblemsForm::showFilter(const CollectionView &view)
{
    FilterBar->Show(view.filter);
    FilterBar->setVisible(!view.textMode);
    FilterInfo->setCaption(view.filter.IsEmpty()
                               ? QStringLiteral("Всего головоломок: %1").arg(view.total)
                               : QStringLiteral("Показано %1 из %2").arg(view.shown).arg(view.total));
    StarButton->setText(view.selectedStarred ? QStringLiteral("★") : QStringLiteral("☆"));
    StarButton->setAccessibleName(view.selectedStarred ? QStringLiteral("Снять звёздочку")
                                                       : QStringLiteral("Отметить звёздочкой"));
    StarButton->setEnabled(view.hasSelection);
    // A new list starts at its top, with the selection in sight.
    if (Problems.Revision() != scrolledFor_) {
        scrolledFor_ = Problems.Revision();
        const int selected = Problems.SelectedIndex();
        const int rows = std::max(1, ProblemsList->VisibleRows());
        ProblemsList->SetTopIndex(selected >= rows ? selected - rows + 1 : 0);
    }
}

void TProblemsForm::ShowView(const CollectionView &view)
{
    textMode_ = view.textMode;
    DiffImage->clearPicture();
    const TProblem *item = Problems.Selected();
    if (Problems.SelectionSerial() != stretchedFor_) {
        stretchedFor_ = Problems.SelectionSerial();
        stretched_ = item && !item->Picture.isNull()
                         ? item->Picture.scaled(PictureWidth, PictureHeight, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation)
                         : QImage();
    }
    if (item) {
        DecideButton->setEnabled(true);
        AnswerButton->setEnabled(true);
        ProblemName->setCaption(item->Name);
        if (const std::optional<Difficulty> grade = knownDifficulty(item->Difficult))
            DiffImage->setPicture(
                screens::mediaBitmap(Context.media, QStringLiteral("DIFF%1").arg(indexOf(*grade) + 1)));
        ProblemImage->setPicture(stretched_, stretched_.isNull() ? QByteArray() : item->PictureSvg);
        if (textMode_) {
            ProblemsList->hide();
            DecideButton->setText(texts::Answer);
            ProblemText->show();
            ShowStatement(*item, view.hintsShown);
        } else {
            DecideButton->setText(texts::Decide);
            ProblemsList->show();
            ProblemText->hide();
            ForgetStatement();
        }
    } else {
        QImage white(PictureWidth, PictureHeight, QImage::Format_RGB888);
        white.fill(Qt::white);
        ProblemImage->setPicture(white);
        DecideButton->setEnabled(false);
        AnswerButton->setEnabled(false);
        ProblemName->setCaption(QString());
        // A filter that hid the puzzle being read leaves the (empty) list.
        DecideButton->setText(texts::Decide);
        ProblemsList->show();
        ProblemText->hide();
        shownText_ = 0;
    }
    HintButton->setEnabled(view.hintEnabled);
    showFilter(view);
    ProblemsList->Refresh();
    ShowMemo();
    FocusForMode();
}
