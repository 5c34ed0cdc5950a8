#pragma once
// Small pieces both puzzle screens are built from: pictures from the media
// library, the frames and buttons of their layouts, and the generic error report.
#include "screens/Texts.h"
#include "widgets/FlatButton.h"
#include "widgets/FlatControls.h"
#include "widgets/Shape.h"
#include "widgets/TiledShape.h"

#include <QAbstractButton>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <exception>
#include <functional>

namespace platform
{
class IResourceLibrary;
}
struct GameContext;

namespace screens
{

// A bitmap of the media library; platform::EResourceError when it is missing.
QImage mediaBitmap(const platform::IResourceLibrary &library, const QString &name);

// The application's generic error report: shows the text, the program goes on.
void ReportError(const QString &message);

// The same for an error: the player reads what to do, the log the detail.
void ReportError(const std::exception *error);

// Runs f; an error it raises goes to the generic report instead of on up.
template <typename F> bool Guarded(F &&f)
{
    try {
        f();
        return true;
    } catch (const std::exception &e) {
        ReportError(&e);
    } catch (...) {
        ReportError(nullptr);
    }
    return false;
}

// The bar across the top of a puzzle screen and the tiled picture that fills it.
TFlatPanel *makeTopPanel(QWidget *parent, const char *name, TTiledShape *&image);

// A grey frame with no fill around a picture; one with a hint sees the pointer
// so that the hint shows.
TShape *makeFrame(QWidget *parent, const char *name, const QRect &r);
TShape *makeFrame(QWidget *parent, const char *name, const QRect &r, const QString &hint);

// The look every button of the puzzle screens shares; reached with Tab only.
void styleButton(TFlatButton *button, const char *name, const QRect &r, const QString &caption,
                 const QString &hint);

template <typename Button = TFlatButton>
Button *makeButton(QWidget *parent, const char *name, const QRect &r, const QString &caption,
                   const QString &hint)
{
    auto *b = new Button(parent);
    styleButton(b, name, r, caption, hint);
    return b;
}

// Where one of the bottom buttons stands: its left edge and width.
struct ButtonPlace {
    int x = 0;
    int width = 0;
};

// The three buttons along the bottom of a puzzle screen: back, the solution
// (named solutionName) and decide.
template <typename SolutionButton> struct PuzzleButtons {
    TFlatButton *back = nullptr;
    SolutionButton *solution = nullptr;
    TFlatButton *decide = nullptr;
};

template <typename SolutionButton = TFlatButton>
PuzzleButtons<SolutionButton> makePuzzleButtons(QWidget *parent, const char *solutionName, ButtonPlace back,
                                                ButtonPlace solution, ButtonPlace decide)
{
    constexpr int top = 552, height = 33;
    PuzzleButtons<SolutionButton> b;
    b.back =
        makeButton(parent, "CloseButton", {back.x, top, back.width, height}, texts::Back, texts::BackHint);
    b.solution = makeButton<SolutionButton>(parent, solutionName, {solution.x, top, solution.width, height},
                                            texts::ViewSolution, texts::ViewSolutionHint);
    b.decide = makeButton(parent, "DecideButton", {decide.x, top, decide.width, height}, texts::Decide,
                          texts::DecideHint);
    return b;
}

// Each button's click runs its operation.
void connectPuzzleButtons(QAbstractButton *back, QAbstractButton *solution, QAbstractButton *decide,
                          const std::function<void()> &onBack, const std::function<void()> &onSolution,
                          const std::function<void()> &onDecide);

} // namespace screens
