#pragma once
// Display modes: the game takes the screen to 800 x 600 for as long as it runs
// and gives the desktop its own mode back when it ends or is minimised.
// The choice of mode is ours; listing and changing modes is the back end's
// (RandR on X11, a fake in tests, none at all when the game plays in a window).
#include <cstdint>
#include <vector>

namespace platform
{

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refresh = 0; // Hz
    std::uint32_t depth = 0;   // bits per pixel
    bool operator==(const DisplayMode &) const = default;
};

class IDisplayModes
{
  public:
    virtual ~IDisplayModes() = default;
    // The modes of the current display device, in the order it lists them.
    virtual std::vector<DisplayMode> modes() = 0;
    // Changes for this run only. Without withRefresh only the size and depth
    // are asked for and the back end picks the refresh rate.
    virtual bool change(const DisplayMode &mode, bool withRefresh) = 0;
    // Back to the mode the desktop had before the first change; nothing when
    // nothing was changed.
    virtual void restore() = 0;
};

// The highest refresh rate the game asks for.
constexpr std::uint32_t MaxRefreshRate = 85;

// Picks a mode of exactly that size, the best refresh rate and then depth in
// the order the device lists them, and changes to it; true when the screen now
// runs at that size.
bool SwitchDisplayMode(IDisplayModes &display, std::uint16_t width, std::uint16_t height);

} // namespace platform
