#pragma once
// The two system colours the game changes for its run: selection background
// (the cream of its forms) and selection text (black). Kept and given back.
#include <QColor>
#include <QPalette>

namespace platform
{

class HighlightColours
{
  public:
    static constexpr QRgb GameHighlight = 0xFFFDEDC4; // RGB(253, 237, 196)
    static constexpr QRgb GameHighlightedText = 0xFF000000;

    ~HighlightColours() { restore(); }
    // Keeps the application's current colours, then sets the game's.
    void apply();
    // Puts the kept colours back; nothing when apply() was not called.
    void restore();
    bool isApplied() const { return applied_; }

  private:
    bool applied_ = false;
    QPalette saved_;
};

} // namespace platform
