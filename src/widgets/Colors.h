#pragma once
// Colour values as the game's designs give them: 32 bits with red in the
// lowest byte, then green, then blue. A top byte of 0x80 names a system colour
// by the index in the lowest byte.
#include <QColor>
#include <QFont>
#include <cstdint>

namespace zw
{

using ColorValue = std::uint32_t;

constexpr ColorValue rgbValue(int r, int g, int b)
{
    return ColorValue(r & 0xFF) | (ColorValue(g & 0xFF) << 8) | (ColorValue(b & 0xFF) << 16);
}

inline constexpr ColorValue clBlack = rgbValue(0, 0, 0);
inline constexpr ColorValue clWhite = rgbValue(255, 255, 255);
inline constexpr ColorValue clGray = rgbValue(128, 128, 128);
inline constexpr ColorValue clSilver = rgbValue(192, 192, 192);
// The game's panel colour and its focus and highlight colour.
inline constexpr ColorValue clPanel = 12905981; // RGB(253, 237, 196)
inline constexpr ColorValue clFocus = 10150396; // RGB(252, 225, 154)
// The flat controls' border colour at creation.
inline constexpr ColorValue clFlatBorder = rgbValue(160, 150, 131);

// System colour indices (top byte 0x80).
enum SystemColor : int {
    SysScrollBar = 0,
    SysBackground = 1,
    SysActiveCaption = 2,
    SysInactiveCaption = 3,
    SysMenu = 4,
    SysWindow = 5,
    SysWindowFrame = 6,
    SysMenuText = 7,
    SysWindowText = 8,
    SysCaptionText = 9,
    SysHighlight = 13,
    SysHighlightText = 14,
    SysBtnFace = 15,
    SysBtnShadow = 16,
    SysGrayText = 17,
    SysBtnText = 18,
    SysBtnHighlight = 20,
    SysInfoText = 23,
    SysInfoBk = 24,
};

constexpr ColorValue systemColor(int index)
{
    return 0x80000000u | ColorValue(index & 0xFF);
}

// Converts a colour value to a QColor; system colours resolve through the
// application palette so that start-up's palette changes reach them.
QColor toQColor(ColorValue value);

// The game's font at a pixel height. "Comic Sans MS" is mapped to the bundled
// face by start-up.
QFont gameFont(int pixelSize, bool bold = false);

} // namespace zw
