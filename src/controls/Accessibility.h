#pragma once
// Tells assistive technology (screen readers over AT-SPI) what the game's own
// painted controls are: labels as text, the gauge as a progress bar, the
// puzzle list as a list of puzzles, the logo choice as a picture, the game's
// windows as windows and dialogs. Qt's own interfaces cover the buttons,
// edits, combo boxes and the text viewer.
namespace controls
{

// Once, after the application object exists; later calls do nothing.
void installAccessibility();

} // namespace controls
