#pragma once
// Display modes of an X11 screen through RandR 1.2+: the modes of the primary
// output (or the first connected one that is lit), changed on its CRTC with the
// screen resized to fit. Opens its own connection to the X server.
#include "platform/DisplayModes.h"

#include <QString>
#include <memory>

namespace platform
{

class RandrDisplayModes : public IDisplayModes
{
  public:
    // Null when there is no X display or it lacks RandR 1.2.
    static std::unique_ptr<RandrDisplayModes> open(const char *displayName = nullptr);
    ~RandrDisplayModes() override;

    std::vector<DisplayMode> modes() override;
    bool change(const DisplayMode &mode, bool withRefresh) override;
    void restore() override;

    // The mode the output runs now (for diagnostics and tests).
    DisplayMode current();
    // Takes the output's present mode and screen size as the ones restore()
    // goes back to, though this connection changed nothing: for a watcher
    // that gives the display back when another process dies.
    void rememberCurrentMode();
    QString outputName() const;
    bool offers(std::uint32_t width, std::uint32_t height);

  private:
    struct Impl;
    explicit RandrDisplayModes(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

} // namespace platform
