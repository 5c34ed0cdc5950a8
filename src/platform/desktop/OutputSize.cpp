#include "platform/desktop/OutputSize.h"

#include "platform/desktop/RandrDisplayModes.h"

#include <cstring>
#include <wayland-client.h>

namespace platform {

namespace {

struct Probe {
    wl_output *output = nullptr;
    OutputSize size;
    bool done = false;
};

void outputGeometry(void *, wl_output *, int32_t, int32_t, int32_t, int32_t, int32_t, const char *, const char *,
                    int32_t)
{
}

void outputMode(void *data, wl_output *, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    auto *probe = static_cast<Probe *>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT)
        probe->size.pixels = QSize(width, height);
}

void outputDone(void *data, wl_output *)
{
    static_cast<Probe *>(data)->done = true;
}

void outputScale(void *data, wl_output *, int32_t factor)
{
    static_cast<Probe *>(data)->size.scale = factor > 0 ? factor : 1;
}

// Bound at version 2 at most, so the name and description never come.
const wl_output_listener outputListener = {outputGeometry, outputMode, outputDone, outputScale, nullptr, nullptr};

void registryGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    auto *probe = static_cast<Probe *>(data);
    // The first output only: a new window opens on it unless placed.
    if (!probe->output && std::strcmp(interface, wl_output_interface.name) == 0) {
        probe->output = static_cast<wl_output *>(
            wl_registry_bind(registry, name, &wl_output_interface, version < 2 ? version : 2));
        wl_output_add_listener(probe->output, &outputListener, probe);
    }
}

void registryGlobalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

}  // namespace

OutputSize waylandOutputSize(const char *displayName)
{
    wl_display *display = wl_display_connect(displayName);
    if (!display)
        return {};
    Probe probe;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &probe);
    // The first round trip lists the globals, the second brings the output's
    // events; a version-1 output sends no "done", hence the bounded loop.
    for (int i = 0; i < 3 && !probe.done; ++i) {
        if (wl_display_roundtrip(display) < 0)
            break;
    }
    if (probe.output)
        wl_output_destroy(probe.output);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return probe.size;
}

OutputSize x11OutputSize(const char *displayName)
{
    OutputSize size;
    if (auto randr = RandrDisplayModes::open(displayName)) {
        const DisplayMode now = randr->current();
        size.pixels = QSize(int(now.width), int(now.height));
    }
    return size;
}

}  // namespace platform
