#pragma once
// What the start-up did, for support and the tests: --diagnostics after the
// first paint and after shutdown, and ZENTRIKA_STARTUP_TIMES=1 for the time
// each step took.
#include <QString>
#include <cstdio>

class QWidget;
template <typename T> class QPointer;

namespace platform
{
class SdlSoundPlayer;
}

namespace app
{

class GameDisplay;
class GameSession;

// With ZENTRIKA_STARTUP_TIMES=1: the time since the first step, on stderr.
void markStep(const char *step);

// The moment of the first paint (microseconds since the epoch) and the CPU time
// spent until then, on stdout for the start-up benchmarks.
void printFirstPaint();

// In the locale's encoding, flushed at once (the tests read it as it comes).
void print(const QString &text, FILE *to = stdout);

// The session's, the screen's and the sound's state, whether the message box
// is made, and the main form's place.
void printDiagnostics(const GameSession &session, const GameDisplay &screen,
                      const platform::SdlSoundPlayer &player, bool messageBoxReady,
                      const QPointer<QWidget> &form);
// The colours the desktop has again once the game has ended.
void printAfterShutdown();

} // namespace app
