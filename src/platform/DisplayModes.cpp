#include "platform/DisplayModes.h"

namespace platform
{

bool SwitchDisplayMode(IDisplayModes &display, std::uint16_t width, std::uint16_t height)
{
    std::uint32_t bestRefresh = 0;
    std::uint32_t bestDepth = 0;
    bool found = false;
    DisplayMode best;
    // The order matters: a later mode with a greater depth but a lower rate
    // replaces the best and lowers the rate to beat, as the desktop's own
    // enumeration has always been walked.
    for (const DisplayMode &mode : display.modes()) {
        if (mode.width != width || mode.height != height)
            continue;
        if (mode.refresh > bestRefresh || mode.depth > bestDepth) {
            bestRefresh = mode.refresh;
            bestDepth = mode.depth;
            best = mode;
            found = true;
        }
    }
    if (!found)
        return false;
    if (best.refresh > MaxRefreshRate)
        best.refresh = MaxRefreshRate;
    if (display.change(best, true))
        return true;
    return display.change(best, false);
}

} // namespace platform
