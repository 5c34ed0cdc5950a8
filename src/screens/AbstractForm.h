#pragma once
// The base of the game and collection screens: the catalogue while the screen
// is open, the puzzle list and the puzzle text viewer, the list/text mode and
// the things both screens do alike (tiled background, wheel, focus, the
// platform dialog for a catalogue that cannot be read, the leave question).
#include "core/Catalogue.h"
#include "core/GameRules.h"
#include "core/ProblemListModel.h"
#include "core/PuzzleScreen.h"
#include "controls/FlatListBoxEx.h"
#include "controls/RichEditEx.h"
#include "widgets/FlatButton.h"
#include "widgets/Form.h"

#include <QImage>
#include <QString>
#include <functional>

// It does for both screens' flows what both do alike (IPuzzleScreen); each
// screen adds what its own flow needs.
class TAbstractForm : public TForm, protected virtual IPuzzleScreen {
    Q_OBJECT
public:
    static constexpr int ScreenWidth = 800;
    static constexpr int ScreenHeight = 600;

    // programDir: where list.lst, Data and Images are; DefaultProgramDir() when empty.
    explicit TAbstractForm(QWidget *owner = nullptr, const QString &programDir = QString());
    ~TAbstractForm() override;

    // The game folder: the program's own folder unless another was set (--data, tests).
    static QString DefaultProgramDir();
    static void SetDefaultProgramDir(const QString &dir);

    const QString ProgramDir;
    TCatalogue Catalogue;
    // The puzzles the list shows and the chosen one.
    TProblemListModel Problems;
    TRichEditEx *ProblemText = nullptr;
    TFlatListBoxEx *ProblemsList = nullptr;

    bool TextMode() const { return textMode_; }
    // With a puzzle selected: sets the mode and shows it. Without one: nothing.
    virtual void SetTextMode(bool on);
    virtual void UpdateView() = 0;

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
    // The list and the text viewer as both puzzle screens show them, the list
    // listWidth wide; its picks and double clicks go to the two handlers below.
    void SetUpPuzzleViews(int listWidth, bool gameMode, const QColor &arrowColour);
    // A row the player chose: selected in the model, then shown.
    void ChooseRow(int position);
    virtual void ProblemsListChangeItem() = 0;
    virtual void ProblemsListDblClick() = 0;

    // Enter and Escape on both puzzle screens: a button with the focus takes
    // Enter as its own click (the key is then the form's); otherwise Enter
    // decides and goes on to the focused control, and Escape goes back once.
    bool PuzzleKeyDown(QKeyEvent *event, const std::function<void()> &decide, const std::function<void()> &back);

    // The platform's message dialog with the error icon and one OK button.
    void ShowCatalogueErrorDialog();

    // IPuzzleScreen
    void PlayClick() override;
    void ShowTrueAnswer() override;
    void ShowFalseAnswer() override;
    Reply Ask(const QString &text) override;
    void ShowCatalogueError() override;
    void ReportError(const QString &message) override;
    AnswerVerdict RunAnswerDialog(TProblem &item, TUser *player) override;
    void RunAnswerViewer(const QByteArray &solution) override;
    void CloseScreen() override;
    void MarkStartFailed();

    // The form's brush: a bitmap tiled over the whole client area.
    void SetBackgroundTile(const QImage &tile);

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
    QImage background_;
    QPixmap backgroundPixmap_;
    QWidget *focusTarget_ = nullptr;
    int wheelRemainder_ = 0;
    int focusedMode_ = -1;  // the mode the focus was last placed for, -1 for none
    bool startFailed_ = false;
};
