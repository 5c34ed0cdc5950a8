#pragma once
// The puzzle text viewer: a rich-text view without border or scroll bars of its
// own, with companions it places on its owner: a drawn scroll bar at its right
// edge, "+" and "-" buttons under its bottom right corner that step the type
// size through five levels, and a thin grey frame. Every new text is formatted
// in one face and size; the bar appears, and the view narrows for it, only when
// the text is longer than the view.
#include "controls/FatScrollBar.h"
#include "widgets/Colors.h"
#include "widgets/FlatButton.h"
#include "widgets/RichTextView.h"
#include "widgets/Shape.h"

#include <QPointer>
#include <QRect>
#include <cstdint>

namespace platform
{
class Sounds;
}

class TRichEditEx : public RichTextView
{
    Q_OBJECT
  public:
    // The hints of the font-size buttons, which the solution viewer carries too.
    static QString ZoomInHint() { return QStringLiteral("Увеличить шрифт"); }
    static QString ZoomOutHint() { return QStringLiteral("Уменьшить шрифт"); }

    // The companions are parented to the owner, which must be this viewer's parent.
    explicit TRichEditEx(QWidget *owner);
    // What clicks its zoom buttons; null (the default) is silence.
    void setSounds(const platform::Sounds *sounds) { sounds_ = sounds; }
    ~TRichEditEx() override;

    // The puzzle's formatted text (RTF bytes); the viewer then re-formats.
    void SetText(const QByteArray &rtf) { setRtf(rtf); }
    // The text with passages after it (the puzzle's hints), as one text.
    void SetText(const QByteArray &rtf, const QList<Note> &notes) { setRtf(rtf, notes); }
    // Scrolls so that the note's heading is the first line in view, or as near
    // as the text's end allows.
    void ScrollToNote(int index);

    // Only while scroll is active: moves the bar (values outside it are ignored),
    // which scrolls the text.
    void ScrollTo(std::uint16_t position);
    std::uint16_t ScrollPosition() const { return scrollPosition_; }
    bool ScrollActive() const { return scrollActive_; }

    int FontLevel() const { return fontLevel_; }
    // Clamped to 1..5; "+" is disabled at 5 and "-" at 1. Re-formats the text.
    void SetFontLevel(int level);
    // The type size of a level in points: 7, 8, 10, 11, 13.
    static double FontSizeOfLevel(int level);

    int EditWidth() const { return editWidth_; }
    void SetEditWidth(int width);

    zw::ColorValue BorderColor() const { return borderColor_; }
    zw::ColorValue SColor() const { return sColor_; }
    zw::ColorValue HotColor() const { return hotColor_; }
    // Stored and the viewer repainted; the bar and buttons keep the colours they were given.
    void SetBorderColor(zw::ColorValue c);
    void SetSColor(zw::ColorValue c);
    void SetHotColor(zw::ColorValue c);

    // Lines in view: the line at the bottom edge (a partly visible one counts)
    // minus the first visible line, plus one.
    int VisibleLineCount() const;

    TFatScrollBar *ScrollBar() const { return scrollBar_; }
    TFlatSpeedButton *PlusButton() const { return plusButton_; }
    TFlatSpeedButton *MinusButton() const { return minusButton_; }
    TShape *Frame() const { return frame_; }

    void setVisible(bool visible) override;

  signals:
    // After every re-formatting.
    void OnChange();

  protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The screens scroll the viewer through ScrollTo; the wheel goes on to them.
    void wheelEvent(QWheelEvent *event) override;

  private:
    const platform::Sounds *sounds_ = nullptr;
    void Reformat();
    void PlaceCompanions();
    void ScrollBarChange();
    void PlusButtonClick();
    void MinusButtonClick();
    void StyleScrollBar();

    QPointer<TFatScrollBar> scrollBar_;
    QPointer<TFlatSpeedButton> plusButton_;
    QPointer<TFlatSpeedButton> minusButton_;
    QPointer<TShape> frame_;

    int editWidth_ = 100;
    zw::ColorValue borderColor_ = zw::rgbValue(128, 128, 128);
    zw::ColorValue sColor_ = zw::rgbValue(253, 237, 196);
    zw::ColorValue hotColor_ = zw::rgbValue(252, 225, 154);
    int fontLevel_ = 3;
    bool scrollActive_ = false;
    std::uint16_t scrollPosition_ = 0;
    QRect placedFor_;
};
