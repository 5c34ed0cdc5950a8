#pragma once
// Rich text measures indents in points and twips, Qt's text layout in pixels;
// fonts in points are scaled by the screen's logical resolution, so indents must be too.

namespace richtext
{

// Pixels per point at the primary screen's logical resolution (96 dpi without a screen).
double pixelsPerPoint();
inline double pointsToPixels(double points)
{
    return points * pixelsPerPoint();
}
inline double twipsToPixels(double twips)
{
    return twips / 20.0 * pixelsPerPoint();
}

} // namespace richtext
