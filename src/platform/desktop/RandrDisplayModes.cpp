#include "platform/desktop/RandrDisplayModes.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cmath>

namespace platform
{

namespace
{

// Xlib reports request errors asynchronously through one process-wide
// handler; this one only notes that something failed until XSync returns.
bool g_xError = false;
int noteError(Display *, XErrorEvent *)
{
    g_xError = true;
    return 0;
}

class ErrorTrap
{
  public:
    explicit ErrorTrap(Display *dpy) : dpy_(dpy)
    {
        XSync(dpy_, False);
        g_xError = false;
        previous_ = XSetErrorHandler(noteError);
    }
    ~ErrorTrap() { XSetErrorHandler(previous_); }
    bool failed()
    {
        XSync(dpy_, False);
        return g_xError;
    }

  private:
    Display *dpy_;
    int (*previous_)(Display *, XErrorEvent *);
};

struct Resources {
    XRRScreenResources *res = nullptr;
    explicit Resources(Display *dpy, Window root) : res(XRRGetScreenResourcesCurrent(dpy, root)) {}
    ~Resources()
    {
        if (res)
            XRRFreeScreenResources(res);
    }
    const XRRModeInfo *mode(RRMode id) const
    {
        for (int i = 0; res && i < res->nmode; ++i)
            if (res->modes[i].id == id)
                return &res->modes[i];
        return nullptr;
    }
};

std::uint32_t refreshOf(const XRRModeInfo &m)
{
    double lines = double(m.hTotal) * double(m.vTotal);
    if (m.modeFlags & RR_DoubleScan)
        lines *= 2;
    if (m.modeFlags & RR_Interlace)
        lines /= 2;
    return lines > 0 ? std::uint32_t(std::lround(double(m.dotClock) / lines)) : 0;
}

} // namespace

struct RandrDisplayModes::Impl {
    Display *dpy = nullptr;
    Window root = 0;
    int screen = 0;
    RROutput output = 0;
    RRCrtc crtc = 0;
    QString name;
    std::uint32_t bitsPerPixel = 32;
    double mmPerPixelX = 0.2646, mmPerPixelY = 0.2646;

    bool changed = false;
    RRMode originalMode = 0;
    int originalWidth = 0, originalHeight = 0;

    ~Impl()
    {
        if (dpy)
            XCloseDisplay(dpy);
    }

    void screenSize(int &w, int &h)
    {
        Window r;
        int x, y;
        unsigned width = 0, height = 0, border, depth;
        XGetGeometry(dpy, root, &r, &x, &y, &width, &height, &border, &depth);
        w = int(width);
        h = int(height);
    }

    void setScreenSize(int w, int h)
    {
        XRRSetScreenSize(dpy, root, w, h, std::max(1, int(std::lround(w * mmPerPixelX))),
                         std::max(1, int(std::lround(h * mmPerPixelY))));
    }

    // Puts the mode on our CRTC, growing the screen first when the mode needs
    // more room and shrinking it afterwards when it needs less, so that every
    // CRTC fits inside the screen at every step.
    bool apply(const Resources &r, RRMode modeId, int minWidth = 0, int minHeight = 0)
    {
        const XRRModeInfo *info = r.mode(modeId);
        XRRCrtcInfo *ci = XRRGetCrtcInfo(dpy, r.res, crtc);
        if (!info || !ci)
            return false;
        const bool sideways = ci->rotation & (RR_Rotate_90 | RR_Rotate_270);
        const int w = int(sideways ? info->height : info->width);
        const int h = int(sideways ? info->width : info->height);
        int needW = std::max(minWidth, ci->x + w), needH = std::max(minHeight, ci->y + h);
        for (int i = 0; i < r.res->ncrtc; ++i) {
            if (r.res->crtcs[i] == crtc)
                continue;
            if (XRRCrtcInfo *other = XRRGetCrtcInfo(dpy, r.res, r.res->crtcs[i])) {
                if (other->mode) {
                    needW = std::max(needW, other->x + int(other->width));
                    needH = std::max(needH, other->y + int(other->height));
                }
                XRRFreeCrtcInfo(other);
            }
        }
        int minW = 0, minH = 0, maxW = 0, maxH = 0;
        if (XRRGetScreenSizeRange(dpy, root, &minW, &minH, &maxW, &maxH)) {
            needW = std::clamp(needW, minW, maxW);
            needH = std::clamp(needH, minH, maxH);
        }
        int curW = 0, curH = 0;
        screenSize(curW, curH);

        ErrorTrap trap(dpy);
        if (!changed) {
            originalMode = ci->mode;
            originalWidth = curW;
            originalHeight = curH;
        }
        const bool grow = needW > curW || needH > curH;
        if (grow)
            setScreenSize(std::max(needW, curW), std::max(needH, curH));
        const Status status = XRRSetCrtcConfig(dpy, r.res, crtc, CurrentTime, ci->x, ci->y, modeId,
                                               ci->rotation, ci->outputs, ci->noutput);
        bool ok = status == RRSetConfigSuccess && !trap.failed();
        if (ok) {
            if (needW != curW || needH != curH)
                setScreenSize(needW, needH);
            ok = !trap.failed();
        } else if (grow) {
            setScreenSize(curW, curH);
        }
        XRRFreeCrtcInfo(ci);
        if (ok)
            changed = true;
        return ok;
    }
};

RandrDisplayModes::RandrDisplayModes(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

RandrDisplayModes::~RandrDisplayModes()
{
    restore();
}

std::unique_ptr<RandrDisplayModes> RandrDisplayModes::open(const char *displayName)
{
    auto impl = std::make_unique<Impl>();
    impl->dpy = XOpenDisplay(displayName);
    if (!impl->dpy)
        return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(impl->dpy, &event, &error) || !XRRQueryVersion(impl->dpy, &major, &minor) ||
        (major == 1 && minor < 2))
        return nullptr;
    impl->screen = DefaultScreen(impl->dpy);
    impl->root = RootWindow(impl->dpy, impl->screen);
    if (DisplayWidth(impl->dpy, impl->screen) > 0 && DisplayWidthMM(impl->dpy, impl->screen) > 0) {
        impl->mmPerPixelX =
            double(DisplayWidthMM(impl->dpy, impl->screen)) / DisplayWidth(impl->dpy, impl->screen);
        impl->mmPerPixelY =
            double(DisplayHeightMM(impl->dpy, impl->screen)) / DisplayHeight(impl->dpy, impl->screen);
    }
    const int depth = DefaultDepth(impl->dpy, impl->screen);
    int count = 0;
    if (XPixmapFormatValues *formats = XListPixmapFormats(impl->dpy, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == depth)
                impl->bitsPerPixel = std::uint32_t(formats[i].bits_per_pixel);
        XFree(formats);
    }

    Resources r(impl->dpy, impl->root);
    if (!r.res)
        return nullptr;
    auto usable = [&](RROutput output) {
        XRROutputInfo *info = XRRGetOutputInfo(impl->dpy, r.res, output);
        if (!info)
            return false;
        const bool ok = info->connection == RR_Connected && info->crtc != 0;
        if (ok) {
            impl->output = output;
            impl->crtc = info->crtc;
            impl->name = QString::fromLocal8Bit(info->name, info->nameLen);
        }
        XRRFreeOutputInfo(info);
        return ok;
    };
    const RROutput primary = XRRGetOutputPrimary(impl->dpy, impl->root);
    bool found = primary && usable(primary);
    for (int i = 0; !found && i < r.res->noutput; ++i)
        found = usable(r.res->outputs[i]);
    if (!found)
        return nullptr;
    return std::unique_ptr<RandrDisplayModes>(new RandrDisplayModes(std::move(impl)));
}

std::vector<DisplayMode> RandrDisplayModes::modes()
{
    std::vector<DisplayMode> list;
    Resources r(d->dpy, d->root);
    XRROutputInfo *info = r.res ? XRRGetOutputInfo(d->dpy, r.res, d->output) : nullptr;
    if (!info)
        return list;
    for (int i = 0; i < info->nmode; ++i) {
        if (const XRRModeInfo *m = r.mode(info->modes[i]))
            list.push_back({m->width, m->height, refreshOf(*m), d->bitsPerPixel});
    }
    XRRFreeOutputInfo(info);
    return list;
}

bool RandrDisplayModes::change(const DisplayMode &mode, bool withRefresh)
{
    if (mode.depth && mode.depth != d->bitsPerPixel)
        return false;
    Resources r(d->dpy, d->root);
    XRROutputInfo *info = r.res ? XRRGetOutputInfo(d->dpy, r.res, d->output) : nullptr;
    if (!info)
        return false;
    // Without a rate the output's own order decides: its preferred modes come first.
    RRMode chosen = 0;
    for (int i = 0; i < info->nmode && !chosen; ++i) {
        const XRRModeInfo *m = r.mode(info->modes[i]);
        if (m && m->width == mode.width && m->height == mode.height &&
            (!withRefresh || refreshOf(*m) == mode.refresh))
            chosen = m->id;
    }
    XRRFreeOutputInfo(info);
    return chosen && d->apply(r, chosen);
}

void RandrDisplayModes::restore()
{
    if (!d || !d->changed)
        return;
    Resources r(d->dpy, d->root);
    if (r.res && d->apply(r, d->originalMode, d->originalWidth, d->originalHeight)) {
        int w = 0, h = 0;
        d->screenSize(w, h);
        if (w != d->originalWidth || h != d->originalHeight) {
            ErrorTrap trap(d->dpy);
            d->setScreenSize(d->originalWidth, d->originalHeight);
            trap.failed();
        }
    }
    d->changed = false;
}

void RandrDisplayModes::rememberCurrentMode()
{
    Resources r(d->dpy, d->root);
    if (!r.res)
        return;
    if (XRRCrtcInfo *ci = XRRGetCrtcInfo(d->dpy, r.res, d->crtc)) {
        d->originalMode = ci->mode;
        d->screenSize(d->originalWidth, d->originalHeight);
        d->changed = ci->mode != 0;
        XRRFreeCrtcInfo(ci);
    }
}

DisplayMode RandrDisplayModes::current()
{
    Resources r(d->dpy, d->root);
    DisplayMode now;
    if (!r.res)
        return now;
    if (XRRCrtcInfo *ci = XRRGetCrtcInfo(d->dpy, r.res, d->crtc)) {
        if (const XRRModeInfo *m = r.mode(ci->mode))
            now = {m->width, m->height, refreshOf(*m), d->bitsPerPixel};
        XRRFreeCrtcInfo(ci);
    }
    return now;
}

QString RandrDisplayModes::outputName() const
{
    return d->name;
}

bool RandrDisplayModes::offers(std::uint32_t width, std::uint32_t height)
{
    const auto list = modes();
    return std::any_of(list.begin(), list.end(),
                       [&](const DisplayMode &m) { return m.width == width && m.height == height; });
}

} // namespace platform
