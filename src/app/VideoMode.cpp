#include "app/VideoMode.h"

#include "platform/desktop/OutputSize.h"
#include "platform/desktop/WindowScale.h"

#include <algorithm>
#include <cmath>

namespace app
{

double fitFactor(QSize area, QSize picture)
{
    // One rule for the start and for a window resized while the game runs.
    return platform::fitFactor(area, picture);
}

VideoPlan planVideo(VideoOption requested, QSize windowSize, QSize picture, platform::OutputSize output)
{
    VideoPlan plan;
    plan.mode = requested == VideoOption::Auto ? VideoOption::Scale : requested;

    // A Wayland session gets a Wayland client; X11 stays the fallback should
    // Qt's Wayland plugin be missing.
    const QString asked = qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool wayland =
        asked.isEmpty() ? qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && plan.mode != VideoOption::Switch
                        : asked.startsWith(QLatin1String("wayland"));
    if (asked.isEmpty() && wayland)
        plan.platform = QStringLiteral("wayland;xcb");
    // Switching the display mode needs X11's RandR.
    if (asked.isEmpty() && plan.mode == VideoOption::Switch && qEnvironmentVariableIsSet("DISPLAY"))
        plan.platform = QStringLiteral("xcb");

    plan.userFactor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR");
    if (plan.mode == VideoOption::Switch)
        return plan; // 800 x 600 on an 800 x 600 display: no scaling

    plan.output = output.pixels;
    const int compositorScale = std::max(1, output.scale);
    if (plan.mode == VideoOption::Scale)
        plan.factor = fitFactor(plan.output, picture);
    else // the window as large as last time, or the picture's own size
        plan.factor = windowSize.isValid() ? fitFactor(windowSize, picture) : 1.0;
    // A window must fit on the screen it opens on.
    if (plan.mode == VideoOption::Window && !plan.output.isEmpty())
        plan.factor = std::min(plan.factor, fitFactor(plan.output, picture));
    plan.qtFactor = plan.factor / compositorScale;
    return plan;
}

void applyVideoPlan(const VideoPlan &plan)
{
    if (!plan.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", plan.platform.toUtf8());
    if (plan.userFactor || plan.mode == VideoOption::Switch)
        return;
    // Our factor alone: no second one from the screen's DPI setting.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

void applyVideoScale(const VideoPlan &plan)
{
    if (plan.userFactor || plan.mode == VideoOption::Switch)
        return;
    if (std::abs(plan.qtFactor - 1.0) > 1e-9)
        platform::setGlobalScale(plan.qtFactor);
}

} // namespace app
