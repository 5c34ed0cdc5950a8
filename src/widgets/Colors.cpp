#include "widgets/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace zw
{

QColor toQColor(ColorValue value)
{
    if ((value >> 24) == 0x80) {
        const QPalette pal = QGuiApplication::palette();
        switch (int(value & 0xFF)) {
        case SysWindow:
        case SysInfoBk:
            return pal.color(QPalette::Base);
        case SysWindowText:
        case SysMenuText:
        case SysInfoText:
            return pal.color(QPalette::Text);
        case SysHighlight:
            return pal.color(QPalette::Highlight);
        case SysHighlightText:
            return pal.color(QPalette::HighlightedText);
        case SysBtnText:
        case SysCaptionText:
            return pal.color(QPalette::ButtonText);
        case SysBtnShadow:
            return pal.color(QPalette::Dark);
        case SysGrayText:
            return pal.color(QPalette::Disabled, QPalette::Text);
        case SysBtnHighlight:
            return pal.color(QPalette::Light);
        case SysWindowFrame:
            return pal.color(QPalette::Shadow);
        default:
            return pal.color(QPalette::Button);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QFont gameFont(int pixelSize, bool bold)
{
    // The family the face stands for, when the game's font is in: asked by
    // the face, Qt would first look for fallbacks of a family it lacks, a
    // sort of every system font before the first text.
    QFont font(QFont::substitute(QStringLiteral("Comic Sans MS")));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace zw
