#pragma once
// What both puzzle screens do for the flows that drive them (the game's rules
// and the collection's flow): sounds, verdicts, questions, the answer dialogs
// and closing. Each flow adds what only its screen shows.
#include "core/DialogResult.h"

#include <QByteArray>
#include <QString>

class TProblem;

class IPuzzleScreen
{
  public:
    virtual ~IPuzzleScreen() = default;

    virtual void PlayClick() = 0;
    virtual void ShowTrueAnswer() = 0;
    virtual void ShowFalseAnswer() = 0;
    virtual Reply Ask(const QString &text) = 0;
    // The platform's own error dialog, for a catalogue that cannot be loaded.
    virtual void ShowCatalogueError() = 0;
    // The application's error report, for a puzzle a flow chose that cannot be read.
    virtual void ReportError(const QString &message) = 0;
    // The answer dialog for one puzzle: what the player entered, or that they left it.
    virtual EnteredAnswer RunAnswerDialog(TProblem &item) = 0;
    virtual void RunAnswerViewer(const QByteArray &solution) = 0;
    // Asks the screen to close; the screen asks its flow's CloseQuery first.
    virtual void CloseScreen() = 0;
};

namespace puzzles
{

// The question before a puzzle screen goes back to the main menu.
inline QString LeaveQuestion()
{
    return QStringLiteral("Хотите выйти в главное меню?");
}

} // namespace puzzles
