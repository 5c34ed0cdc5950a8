#pragma once
// The drawing pad over a puzzle's picture. It always shows the memo, mapped
// from the picture's coordinates onto its own rectangle; while drawing it takes
// the mouse (a pen tablet arrives as the mouse) and shows a small tool strip:
// pen, red, eraser and «стереть всё». The eraser removes whole strokes it
// touches, so a memo holds only the strokes the player sees.
#include "core/Memo.h"

#include <QPixmap>
#include <QWidget>

class TFlatButton;

class TMemoPad : public QWidget
{
    Q_OBJECT
  public:
    enum class Tool { Pen, Red, Eraser };

    explicit TMemoPad(QWidget *parent = nullptr);

    // Shows another memo; the drawing mode is left as it is.
    void SetMemo(const TMemo &memo);
    const TMemo &Memo() const { return memo_; }

    // While on, the pad takes the mouse and shows the tool strip; off, the
    // mouse passes through to what lies below.
    void SetDrawing(bool on);
    bool Drawing() const { return drawing_; }
    void SetTool(Tool tool);
    Tool CurrentTool() const { return tool_; }
    void ClearAll();

    // Between the pad's own points and the picture's.
    QPointF ToPicture(QPointF local) const;
    QPointF FromPicture(QPointF picture) const;

    static QColor InkColor(MemoInk ink);
    // Width of a pen stroke and reach of the eraser, in picture pixels.
    static constexpr qreal PenWidth = 2.5;
    static constexpr qreal EraserRadius = 6.0;

  signals:
    // A stroke was added or removed.
    void changed();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    void createToolStrip();
    void placeToolStrip();
    void extendStroke(QPointF local);
    void finishStroke();
    void eraseAt(QPointF local);
    // The finished strokes drawn once at the display's resolution.
    const QPixmap &finished();
    void drawStroke(QPainter &p, const MemoStroke &stroke) const;
    QRectF strokeSegmentRect(QPointF a, QPointF b) const;

    TMemo memo_;
    MemoStroke current_;
    bool stroking_ = false;
    bool drawing_ = false;
    Tool tool_ = Tool::Pen;
    QPixmap finished_;
    bool finishedStale_ = true;
    QWidget *strip_ = nullptr;
    TFlatButton *toolButtons_[3] = {};
    TFlatButton *clearButton_ = nullptr;
};
