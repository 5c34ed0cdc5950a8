#include "screens/AbstractForm.h"

#include "platform/Sounds.h"
#include "screens/Messages.h"
#include "screens/ReplyForm.h"
#include "screens/ScreenParts.h"
#include "screens/SolutionForm.h"
#include "screens/Texts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

static QString withoutTrailingSeparator(QString dir)
{
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))))
        dir.chop(1);
    return dir;
}

TAbstractForm::TAbstractForm(GameContext &context, const char *name, QWidget *owner,
                             const QString &programDir)
    : TForm(owner), Context(context),
      ProgramDir(withoutTrailingSeparator(programDir.isEmpty() ? context.dataFolder : programDir)),
      Catalogue(ProgramDir)
{
    setStage(context.stage);
    setCloseAction(CloseAction::Free);
    setKeyPreview(true);
    setColor(zw::rgbValue(255, 251, 240));
    setFont(zw::gameFont(13));
    ProblemsList = new TFlatListBoxEx(this);
    ProblemsList->setObjectName(QStringLiteral("ProblemsList"));
    ProblemsList->SetModel(&Problems);
    ProblemText = new TRichEditEx(this);
    ProblemText->setSounds(Context.sounds);
    ProblemText->setObjectName(QStringLiteral("ProblemText"));
    ProblemText->setAccessibleName(QStringLiteral("Текст головоломки"));
    setObjectName(QLatin1String(name));
    setClientSize(ScreenWidth, ScreenHeight);
    // The wheel and the viewer's focus are the screen's wherever they land in it.
    qApp->installEventFilter(this);
}

TAbstractForm::~TAbstractForm()
{
    // The list goes with the window's children, after the model.
    ProblemsList->SetModel(nullptr);
}

void TAbstractForm::SetUpPuzzleViews(int listWidth, bool gameMode, const QColor &arrowColour, int listTop)
{
    ProblemsList->setFont(zw::gameFont(17));
    ProblemsList->BeginLoad();
    ProblemsList->setGeometry(5, listTop, listWidth, 540 - listTop);
    ProblemsList->SetGameMode(gameMode);
    ProblemsList->SetItemHeight(22);
    ProblemsList->SetScrollBars(true);
    ProblemsList->SetColor(zw::toQColor(zw::clPanel));
    ProblemsList->SetColorArrow(arrowColour);
    ProblemsList->SetColorBorder(QColor(128, 128, 128));
    ProblemsList->SetColorItemsSelect(zw::toQColor(zw::clPanel));
    // Reads the list's own pictures; a missing one is reported, the screen still opens.
    screens::Guarded([this] { ProblemsList->Loaded(&Context.media); });
    connect(ProblemsList, &TFlatListBoxEx::rowChosen, this, &TAbstractForm::ChooseRow);
    connect(ProblemsList, &TFlatListBoxEx::doubleClicked, this, [this] {
        if (Problems.Selected() && DecideButton && DecideButton->isEnabled())
            DecideButtonClick();
    });

    ProblemText->setGeometry(6, 81, 344, 459);
    ProblemText->SetEditWidth(344);
    ProblemText->SetBorderColor(zw::clGray);
    ProblemText->SetSColor(zw::clPanel);
    ProblemText->SetHotColor(zw::clFocus);
    ProblemText->setToolTip(texts::StatementHint);
    ProblemText->hide();
}

void TAbstractForm::connectButtons(QAbstractButton *solution)
{
    screens::connectPuzzleButtons(
        CloseButton, solution, DecideButton, [this] { CloseButtonClick(); },
        [this] { SolutionButtonClick(); }, [this] { DecideButtonClick(); });
    SetFocusTarget(DecideButton);
    // In the free space between «назад» and the solution, in the same look.
    HintButton = screens::makeButton(this, "HintButton", {145, CloseButton->y(), 115, CloseButton->height()},
                                     texts::Hint, texts::HintHint);
    HintButton->setEnabled(false);
    connect(HintButton, &QAbstractButton::clicked, this, [this] { HintButtonClick(); });
    // Tab goes along the bottom row from left to right.
    setTabOrder(CloseButton, HintButton);
    setTabOrder(HintButton, solution);
}

void TAbstractForm::ShowStatement(const TProblem &item, int hints)
{
    const bool samePuzzle = shownText_ == Problems.SelectionSerial();
    if (samePuzzle && hints == shownHints_)
        return;
    QList<RichTextView::Note> notes;
    for (int i = 0; i < hints && i < item.Hints.size(); ++i)
        notes.append({texts::HintHeading(i + 1), item.Hints.at(i)});
    ProblemText->SetText(item.GetStatementText(), notes);
    // A hint just bought or asked for is what the player wants to read.
    if (samePuzzle && hints > shownHints_)
        ProblemText->ScrollToNote(int(notes.size()) - 1);
    shownText_ = Problems.SelectionSerial();
    shownHints_ = hints;
}

void TAbstractForm::DecideButtonClick()
{
    screens::Guarded([this] { flow_->Decide(); });
}

void TAbstractForm::SolutionButtonClick()
{
    screens::Guarded([this] { flow_->ViewSolution(); });
}

void TAbstractForm::HintButtonClick()
{
    screens::Guarded([this] { flow_->ShowHint(); });
}

void TAbstractForm::CloseButtonClick()
{
    screens::Guarded([this] { flow_->Back(); });
}

// ---- the memo ------------------------------------------------------------------

void TAbstractForm::SetUpMemo()
{
    MemoButton = screens::makeButton(this, "MemoButton", {270, 552, 120, 33}, texts::Memo, texts::MemoHint);
    QWidget::setTabOrder(CloseButton, MemoButton);
    connect(MemoButton, &QAbstractButton::clicked, this, [this] {
        PlayClick();
        MemoButtonClick();
    });
    MemoPad = new TMemoPad(this);
    connect(MemoPad, &TMemoPad::changed, this, [this] { memoChanged_ = true; });
    // The pad lies on the picture wherever the screen puts it.
    ProblemImage->installEventFilter(this);
    MemoPad->setGeometry(ProblemImage->geometry());
    MemoPad->raise();
}

void TAbstractForm::MemoButtonClick()
{
    if (MemoPad->Drawing()) {
        EndMemo();
        return;
    }
    if (!Problems.Selected())
        return;
    ShowMemo();
    memoChanged_ = false;
    MemoPad->SetDrawing(true);
    MemoButton->setAccessibleDescription(texts::MemoDrawing);
}

void TAbstractForm::EndMemo()
{
    if (!MemoPad || !MemoPad->Drawing())
        return;
    MemoPad->SetDrawing(false);
    if (memoChanged_ && memoShown_)
        screens::Guarded([this] { flow_->Memos().Put(memoFor_, MemoPad->Memo()); });
    memoChanged_ = false;
    MemoButton->setAccessibleDescription(MemoPad->Memo().IsEmpty() ? texts::MemoEmpty
                                                                   : texts::MemoHasDrawings);
}

void TAbstractForm::ShowMemo()
{
    if (!MemoPad)
        return;
    const TProblem *item = Problems.Selected();
    if (MemoPad->Drawing() && (!item || item->Id != memoFor_))
        EndMemo();
    MemoButton->setEnabled(item != nullptr);
    if (!item) {
        memoShown_ = false;
        MemoPad->SetMemo(TMemo());
        MemoButton->setAccessibleDescription(texts::MemoEmpty);
        return;
    }
    if (!memoShown_ || item->Id != memoFor_) {
        memoFor_ = item->Id;
        memoShown_ = true;
        TMemo memo;
        screens::Guarded([&] { memo = flow_->Memos().Memo(item->Id); });
        MemoPad->SetMemo(memo);
    }
    if (!MemoPad->Drawing())
        MemoButton->setAccessibleDescription(MemoPad->Memo().IsEmpty() ? texts::MemoEmpty
                                                                       : texts::MemoHasDrawings);
    MemoPad->setGeometry(ProblemImage->geometry());
    MemoPad->setVisible(ProblemImage->isVisible());
    MemoPad->raise();
}

bool TAbstractForm::FormCloseQuery()
{
    bool close = false;
    screens::Guarded([&] { close = flow_->CloseQuery(); });
    return close;
}

void TAbstractForm::FormClose(CloseAction &action)
{
    EndMemo();
    screens::Guarded([this] { flow_->End(); });
    action = CloseAction::Free;
}

bool TAbstractForm::FormKeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // A button with the focus takes Enter as its own click; the form then leaves it.
        auto *focused = qobject_cast<TFlatButton *>(focusWidget());
        if (focused && holdsControl(focused) && focused->isEnabled() && focused->isVisible()) {
            focused->click();
            return true;
        }
        if (DecideButton->isEnabled())
            DecideButtonClick();
        return false;
    }
    case Qt::Key_F2:
        if (MemoButton && MemoButton->isEnabled())
            MemoButtonClick();
        return true;
    case Qt::Key_Escape:
        // While drawing, Escape only ends the drawing.
        if (MemoPad && MemoPad->Drawing()) {
            EndMemo();
            return true;
        }
        if (CloseButton->isEnabled())
            CloseButtonClick();
        return true;
    case Qt::Key_F1:
        if (event->modifiers() == Qt::NoModifier && HintButton && HintButton->isEnabled())
            HintButtonClick();
        return true;
    default:
        return false;
    }
}

void TAbstractForm::ChooseRow(int position)
{
    // A puzzle that cannot be read stays chosen: the screen shows it so, then
    // the error goes to the report.
    std::exception_ptr failure;
    try {
        Problems.Select(position);
    } catch (...) {
        failure = std::current_exception();
    }
    screens::Guarded([this] { flow_->Refresh(); });
    if (failure)
        screens::Guarded([&] { std::rethrow_exception(failure); });
}

void TAbstractForm::SetTextMode(bool on)
{
    screens::Guarded([&] { flow_->SetTextMode(on); });
}

void TAbstractForm::UpdateView()
{
    flow_->Refresh();
}

void TAbstractForm::ShowCatalogueErrorDialog()
{
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), CatalogueErrorText(),
                    QMessageBox::Ok, isVisible() ? this : parentWidget());
    box.setObjectName(QStringLiteral("CatalogueError"));
    box.exec();
}

void TAbstractForm::MarkStartFailed()
{
    startFailed_ = true;
    // Nothing of the screen is seen: it closes as soon as it is shown.
    setWindowOpacity(0.0);
}

void TAbstractForm::FormShow()
{
    if (startFailed_) {
        setModalResult(mrCancel);
        return;
    }
    focusedMode_ = -1;
    FocusForMode();
}

void TAbstractForm::FocusForMode()
{
    QWidget *focused = focusWidget();
    if (focusedMode_ == int(textMode_) && focused && focused->isVisibleTo(this) && focused->isEnabled())
        return;
    QWidget *target = textMode_ ? focusTarget_ : ProblemsList;
    if (!target || !target->isVisibleTo(this) || !target->isEnabled())
        return;
    focusedMode_ = int(textMode_);
    target->setFocus(Qt::OtherFocusReason);
}

void TAbstractForm::SetBackgroundTile(const QImage &tile)
{
    background_ = tile;
    backgroundPixmap_ = QPixmap::fromImage(tile);
    update();
}

void TAbstractForm::paintEvent(QPaintEvent *event)
{
    if (backgroundPixmap_.isNull()) {
        TForm::paintEvent(event);
        return;
    }
    QPainter p(this);
    // A logical pixel more on each side: at a fractional factor the edge
    // rows of display pixels of a part drawn again are otherwise left out.
    const QRect r = event->rect().adjusted(-1, -1, 1, 1) & rect();
    p.drawTiledPixmap(r, backgroundPixmap_, r.topLeft());
}

void TAbstractForm::ScrollTextBy(int lines)
{
    // 16-bit arithmetic: one line up from the top asks for 65535, which the viewer refuses.
    ProblemText->ScrollTo(std::uint16_t(ProblemText->ScrollPosition() + lines));
}

bool TAbstractForm::eventFilter(QObject *watched, QEvent *event)
{
    // The application's events pass here from the base constructor on.
    if (!ProblemText)
        return TForm::eventFilter(watched, event);
    if (MemoPad && watched == ProblemImage &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        MemoPad->setGeometry(ProblemImage->geometry());
    if (event->type() == QEvent::FocusIn &&
        (watched == ProblemText || ProblemText->isAncestorOf(qobject_cast<QWidget *>(watched)))) {
        // Passed on once the focus change in progress is over.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!ProblemText->hasFocus())
                    return;
                if (focusTarget_ && focusTarget_->isEnabled() && focusTarget_->isVisible())
                    focusTarget_->setFocus(Qt::OtherFocusReason);
                else
                    ProblemText->clearFocus();
            },
            Qt::QueuedConnection);
        return false;
    }
    if (event->type() == QEvent::Wheel && isVisible()) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (holdsControl(w) && textMode_) {
            // The form turns every notch into one line of text, wherever the pointer is.
            auto *wheel = static_cast<QWheelEvent *>(event);
            wheelRemainder_ += wheel->angleDelta().y();
            while (wheelRemainder_ >= 120) {
                wheelRemainder_ -= 120;
                ScrollTextBy(-1);
            }
            while (wheelRemainder_ <= -120) {
                wheelRemainder_ += 120;
                ScrollTextBy(1);
            }
            return true;
        }
    }
    return TForm::eventFilter(watched, event);
}

// ---- what both flows ask of their screen ------------------------------------

void TAbstractForm::PlayClick()
{
    platform::PlayClick(Context.sounds);
}

void TAbstractForm::ShowTrueAnswer()
{
    if (Context.messages)
        Context.messages->ShowTrueAnswer();
}

void TAbstractForm::ShowFalseAnswer()
{
    if (Context.messages)
        Context.messages->ShowFalseAnswer();
}

Reply TAbstractForm::Ask(const QString &text)
{
    return Context.messages ? Context.messages->Ask(text) : Reply::Yes;
}

void TAbstractForm::ShowCatalogueError()
{
    ShowCatalogueErrorDialog();
}

void TAbstractForm::ReportError(const QString &message)
{
    screens::ReportError(message);
}

EnteredAnswer TAbstractForm::RunAnswerDialog(TProblem &item)
{
    return TReplyForm::Run(this, item, Context.sounds, Context.messages);
}

void TAbstractForm::RunAnswerViewer(const QByteArray &solution)
{
    auto *viewer = new TSolutionForm(this, solution, Context.sounds);
    viewer->ShowModal();
}

void TAbstractForm::CloseScreen()
{
    close();
}
