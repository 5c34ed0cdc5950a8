#include "platform/desktop/HighlightColours.h"

#include <QApplication>

namespace platform
{

namespace
{
constexpr QPalette::ColorGroup Groups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};
}

void HighlightColours::apply()
{
    QPalette palette = QApplication::palette();
    if (!applied_)
        saved_ = palette;
    for (QPalette::ColorGroup g : Groups) {
        palette.setColor(g, QPalette::Highlight, QColor::fromRgb(GameHighlight));
        palette.setColor(g, QPalette::HighlightedText, QColor::fromRgb(GameHighlightedText));
    }
    QApplication::setPalette(palette);
    applied_ = true;
}

void HighlightColours::restore()
{
    if (!applied_ || !qApp)
        return;
    // Only the two roles go back: anything else changed meanwhile stays.
    QPalette palette = QApplication::palette();
    for (QPalette::ColorGroup g : Groups) {
        palette.setColor(g, QPalette::Highlight, saved_.color(g, QPalette::Highlight));
        palette.setColor(g, QPalette::HighlightedText, saved_.color(g, QPalette::HighlightedText));
    }
    QApplication::setPalette(palette);
    applied_ = false;
}

} // namespace platform
