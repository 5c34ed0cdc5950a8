#pragma once
// The text viewer's own scroll bar: a drawn bar of five parts (two arrow
// buttons, two track parts and the thumb), each cold, hot or pressed, painted
// with four styles into a kept off-screen image of which only changed parts are
// copied to the screen; arrows and track repeat while held.
#include <QBrush>
#include <QColor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>

class QTimer;

// A part's state; the values index the per-state members of the styles.
enum class TPartState : int { Cold = 0, Hot = 1, Down = 2 };

// Colour, brush style and pattern for each of the three states. A change
// notifies the owning style, which notifies the bar.
class TStateStyleProperty : public QObject
{
    Q_OBJECT
  public:
    explicit TStateStyleProperty(QObject *parent = nullptr);

    QColor Color(TPartState state) const { return colors_[int(state)]; }
    Qt::BrushStyle Style(TPartState state) const { return styles_[int(state)]; }
    const QImage &Pattern(TPartState state) const { return patterns_[int(state)]; }
    void SetColor(TPartState state, const QColor &color);
    void SetStyle(TPartState state, Qt::BrushStyle style);
    // The image is copied; any assignment notifies, even of the same picture.
    void SetPattern(TPartState state, const QImage &pattern);
    // The pattern if there is one, else the colour in the brush style.
    QBrush Brush(TPartState state) const;

    QColor ColorCold() const { return Color(TPartState::Cold); }
    QColor ColorHot() const { return Color(TPartState::Hot); }
    QColor ColorDown() const { return Color(TPartState::Down); }
    void SetColorCold(const QColor &c) { SetColor(TPartState::Cold, c); }
    void SetColorHot(const QColor &c) { SetColor(TPartState::Hot, c); }
    void SetColorDown(const QColor &c) { SetColor(TPartState::Down, c); }
    Qt::BrushStyle StyleCold() const { return Style(TPartState::Cold); }
    Qt::BrushStyle StyleHot() const { return Style(TPartState::Hot); }
    Qt::BrushStyle StyleDown() const { return Style(TPartState::Down); }
    void SetStyleCold(Qt::BrushStyle s) { SetStyle(TPartState::Cold, s); }
    void SetStyleHot(Qt::BrushStyle s) { SetStyle(TPartState::Hot, s); }
    void SetStyleDown(Qt::BrushStyle s) { SetStyle(TPartState::Down, s); }
    const QImage &PatternCold() const { return Pattern(TPartState::Cold); }
    const QImage &PatternHot() const { return Pattern(TPartState::Hot); }
    const QImage &PatternDown() const { return Pattern(TPartState::Down); }
    void SetPatternCold(const QImage &p) { SetPattern(TPartState::Cold, p); }
    void SetPatternHot(const QImage &p) { SetPattern(TPartState::Hot, p); }
    void SetPatternDown(const QImage &p) { SetPattern(TPartState::Down, p); }

    // Sets all three colours at once (cold, hot, down), notifying once if any changed.
    void SetColors(const QColor &cold, const QColor &hot, const QColor &down);

  signals:
    void OnChange();

  private:
    std::array<QColor, 3> colors_;
    std::array<Qt::BrushStyle, 3> styles_{Qt::SolidPattern, Qt::SolidPattern, Qt::SolidPattern};
    std::array<QImage, 3> patterns_;
};

class TStyleProperty : public QObject
{
    Q_OBJECT
  public:
    explicit TStyleProperty(QObject *parent = nullptr);
    TStateStyleProperty *Border() const { return border_; }
    TStateStyleProperty *Fill() const { return fill_; }

  signals:
    void OnChange();

  private:
    TStateStyleProperty *border_;
    TStateStyleProperty *fill_;
};

class TFatScrollBar : public QWidget
{
    Q_OBJECT
  public:
    enum TScrollBarKind { sbHorizontal, sbVertical };
    // The parts in the order the bar numbers, hit-tests and paints them.
    enum TPart {
        NoPart = -1,
        FirstArrow = 0,
        SecondArrow = 1,
        TrackBefore = 2,
        TrackAfter = 3,
        Scroller = 4
    };
    static constexpr int PartCount = 5;

    explicit TFatScrollBar(QWidget *parent = nullptr);
    ~TFatScrollBar() override;

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const { return position_; }
    void SetPosition(int v);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v);
    int ArrowWidth() const { return arrowWidth_; }
    void SetArrowWidth(int v);
    int ScrollerWidth() const { return scrollerWidth_; }
    void SetScrollerWidth(int v);
    int ArrowStretch() const { return arrowStretch_; }
    void SetArrowStretch(int v);
    int ScrollInterval() const { return scrollInterval_; }
    void SetScrollInterval(int v);

    TStyleProperty *StyleArrow() const { return styleArrow_; }
    TStyleProperty *StyleArrowButton() const { return styleArrowButton_; }
    TStyleProperty *StyleTrack() const { return styleTrack_; }
    TStyleProperty *StyleScroller() const { return styleScroller_; }

    // Geometry and pointer state, as the bar works with them.
    QRect PartRect(int part) const { return rects_[part]; }
    std::array<QPoint, 3> Triangle(int arrow) const { return triangles_[arrow]; }
    TPartState PartState(int part) const { return states_[part]; }
    int PressedPart() const { return pressed_; }
    int TimerPart() const { return timerPart_; }
    bool RepeatTimerActive() const;
    QPoint GrabOffset() const { return grab_; }
    const QImage &OffscreenImage() const { return buffer_; }

    // pct(a, p): a / 100 * p rounded to the nearest, ties to even.
    static int pct(int a, int p);

  public slots:
    // One tick of the repeat timer.
    void RepeatTimerTimer();

  signals:
    void OnChange();
    void OnMouseIn();
    void OnMouseOut();
    // A part was drawn into the off-screen image (and its rectangle scheduled for the screen).
    void PartDrawn(int part);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

  private:
    void ComputeArrows();
    void ComputeTrack();
    void Recompute();      // arrows, tracks and thumb, then a full paint
    void RecomputeTrack(); // tracks and thumb, then parts 2, 4 and 3
    void DrawPart(int part);
    void DrawAll();
    void EnsureBuffer();
    void SetPartState(int part, TPartState state);
    void StartPress(int part, const QPoint &pos);
    void HandleMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void DragScroller(const QPoint &pos);
    void StyleChanged();

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0;
    int smallChange_ = 1, largeChange_ = 5;
    int arrowWidth_ = 18, scrollerWidth_ = 18, arrowStretch_ = 35;
    int scrollInterval_ = 50;

    TStyleProperty *styleArrow_;
    TStyleProperty *styleArrowButton_;
    TStyleProperty *styleTrack_;
    TStyleProperty *styleScroller_;

    std::array<QRect, PartCount> rects_;
    std::array<std::array<QPoint, 3>, 2> triangles_;
    std::array<TPartState, PartCount> states_{};
    int pressed_ = NoPart;
    int timerPart_ = NoPart;
    QPoint lastPos_;
    Qt::MouseButtons lastButtons_;
    Qt::KeyboardModifiers lastModifiers_;
    QPoint grab_;
    QTimer *timer_;
    QImage buffer_;
};
