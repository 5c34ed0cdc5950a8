#pragma once
// The base of the game and collection screens: the catalogue while the screen
// is open, the puzzle list and the puzzle text viewer, the list/text mode and
// the things both screens do alike (tiled background, wheel, focus, the
// platform dialog for a catalogue that cannot be read, the leave question).
#include "controls/FlatListBoxEx.h"
#include "controls/MemoPad.h"
#include "controls/RichEditEx.h"
#include "core/Catalogue.h"
#include "core/GameRules.h"
#include "core/ProblemListModel.h"
#include "core/PuzzleFlow.h"
#include "screens/GameContext.h"
#include "screens/ScreenParts.h"
#include "widgets/FlatButton.h"
#include "widgets/FlatControls.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/Shape.h"
#include "widgets/TiledShape.h"

#include <QImage>
#include <QString>

// It does for both screens' flows what both do alike (IPuzzleScreen); each
// screen adds what its own flow needs.
class TAbstractForm : public TForm, protected virtual IPuzzleScreen
{
    Q_OBJECT
  public:
    static constexpr int ScreenWidth = 800;
    static constexpr int ScreenHeight = 600;

    // programDir: where list.lst, Data and Images are; the context's data folder
    // when empty. The screen is named (objectName) and sized to the whole screen.
    TAbstractForm(GameContext &context, const char *name, QWidget *owner, const QString &programDir);
    ~TAbstractForm() override;

    GameContext &Context;

    const QString ProgramDir;
    TCatalogue Catalogue;
    // The puzzles the list shows and the chosen one.
    TProblemListModel Problems;
    TRichEditEx *ProblemText = nullptr;
    TFlatListBoxEx *ProblemsList = nullptr;
    // Parts both screens lay out, each in its own place.
    TFlatPanel *TopPanel = nullptr;
    TTiledShape *PanelImage = nullptr;
    TLabel *ProblemName = nullptr;
    TPictureBox *DiffImage = nullptr;
    TShape *DiffFrame = nullptr;
    TPictureBox *ProblemImage = nullptr;
    TShape *ImageShape = nullptr;
    TFlatButton *CloseButton = nullptr;
    TFlatButton *DecideButton = nullptr;
    // «подсказка»: the selected puzzle's next hint (F1).
    TFlatButton *HintButton = nullptr;
    // «заметки» and the pad over the picture it turns on.
    TFlatButton *MemoButton = nullptr;
    TMemoPad *MemoPad = nullptr;

    bool TextMode() const { return textMode_; }
    // With a puzzle selected: sets the mode and shows it. Without one: nothing.
    void SetTextMode(bool on);
    // Recomputes what the screen shows and shows it.
    void UpdateView();

    // The operations behind the buttons and keys, run by the screen's flow;
    // an error goes to the application's report.
    void DecideButtonClick();
    void SolutionButtonClick();
    void CloseButtonClick();
    void HintButtonClick();
    // Starts drawing on the selected puzzle's picture, or ends it and keeps the memo.
    void MemoButtonClick();
    void EndMemo();

    // True when the catalogue could not be read: the screen has shown its
    // message and closes as soon as it is shown, without the leave question.
    bool StartFailed() const { return startFailed_; }

    // The bitmap the form's background is tiled with.
    const QImage &BackgroundTile() const { return background_; }

    // The screens' buttons are reached with Tab; a mouse click leaves the focus
    // where it was, so that Enter keeps its meaning after a click.
    static void MakeTabStop(QWidget *button) { button->setFocusPolicy(Qt::TabFocus); }

    static QString LeaveQuestion() { return puzzles::LeaveQuestion(); }
    static QString CatalogueErrorText() { return QStringLiteral("Невозможно загрузить список задач"); }

  protected:
    // The flow the screen's operations run; set once by the screen's constructor.
    void SetFlow(TPuzzleFlow &flow) { flow_ = &flow; }

    // The list and the text viewer as both puzzle screens show them, the list
    // listWidth wide, from listTop down to the text viewer's foot; a chosen
    // row is selected in the model and shown, a double click decides.
    void SetUpPuzzleViews(int listWidth, bool gameMode, const QColor &arrowColour, int listTop = 80);

    // The back, solution (solutionName, of the given type) and decide buttons
    // at the bottom, wired to the operations; decide takes the focus in text mode.
    template <typename SolutionButton>
    SolutionButton *CreateButtons(const char *solutionName, screens::ButtonPlace back,
                                  screens::ButtonPlace solution, screens::ButtonPlace decide)
    {
        const auto buttons =
            screens::makePuzzleButtons<SolutionButton>(this, solutionName, back, solution, decide);
        CloseButton = buttons.back;
        DecideButton = buttons.decide;
        connectButtons(buttons.solution);
        SetUpMemo();
        return buttons.solution;
    }

    // The memo button and the pad over ProblemImage; after the picture exists.
    void SetUpMemo();
    // After each view: the pad shows the selected puzzle's memo where its picture is.
    void ShowMemo();

    // Enter and Escape: a button with the focus takes Enter as its own click
    // (the key is then the form's); otherwise Enter decides while decide is
    // enabled and goes on to the focused control, and Escape goes back once.
    bool FormKeyDown(QKeyEvent *event) override;
    // The flow's leave question; a failed start closes without it.
    bool FormCloseQuery() override;
    void FormClose(CloseAction &action) override;

    // The platform's message dialog with the error icon and one OK button.
    void ShowCatalogueErrorDialog();

    // IPuzzleScreen
    void PlayClick() override;
    void ShowTrueAnswer() override;
    void ShowFalseAnswer() override;
    Reply Ask(const QString &text) override;
    void ShowCatalogueError() override;
    void ReportError(const QString &message) override;
    EnteredAnswer RunAnswerDialog(TProblem &item) override;
    void RunAnswerViewer(const QByteArray &solution) override;
    void CloseScreen() override;

    void MarkStartFailed();

    // The form's brush: a bitmap tiled over the whole client area.
    void SetBackgroundTile(const QImage &tile);

    // The statement of the puzzle with its first `hints` hints under it. The
    // same puzzle's text keeps the reader's place; a hint just added is
    // scrolled into view.
    void ShowStatement(const TProblem &item, int hints);
    // List mode: the next text shown is set afresh.
    void ForgetStatement() { shownText_ = 0; }

    // The control that takes the focus whenever the text viewer would get it.
    void SetFocusTarget(QWidget *target) { focusTarget_ = target; }

    // One wheel notch in text mode scrolls the text by one line.
    void ScrollTextBy(int lines);

    // After a change of mode the keyboard focus goes where a keyboard player
    // expects it: on the list in list mode, on the focus target in text mode.
    // Within a mode it stays where the player put it.
    void FocusForMode();

    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    bool textMode_ = false;

  private:
    void connectButtons(QAbstractButton *solution);
    // A row the player chose: selected in the model, then shown.
    void ChooseRow(int position);

    TPuzzleFlow *flow_ = nullptr;
    // The choice (the model's selection serial) and the hints the text shows.
    std::uint64_t shownText_ = 0;
    int shownHints_ = 0;
    QImage background_;
    QPixmap backgroundPixmap_;
    QWidget *focusTarget_ = nullptr;
    int wheelRemainder_ = 0;
    ProblemId memoFor_ = 0; // the puzzle the pad shows
    bool memoShown_ = false;
    bool memoChanged_ = false; // drawn on since drawing began
    int focusedMode_ = -1;     // the mode the focus was last placed for, -1 for none
    bool startFailed_ = false;
};
