#pragma once
// Gives the desktop its display mode back when the game dies without its own
// shutdown (SIGKILL, a crash): a small process forked before the game changes
// anything keeps the mode the display had, and puts it back once the game's
// end of a pipe closes without the word that the game restored it itself.
namespace platform
{

class DisplayWatcher
{
  public:
    // Forks the watcher; call before any thread starts. Returns once the
    // watcher has taken note of the present mode. Does nothing without an X
    // display with RandR.
    DisplayWatcher();
    // Tells the watcher the game gave the mode back, and lets it go.
    ~DisplayWatcher();
    DisplayWatcher(const DisplayWatcher &) = delete;
    DisplayWatcher &operator=(const DisplayWatcher &) = delete;

    bool isWatching() const { return pipe_ >= 0; }
    int pid() const { return pid_; }

  private:
    int pipe_ = -1;
    int pid_ = -1;
};

} // namespace platform
