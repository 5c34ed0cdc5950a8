#pragma once
// The player's memo on a puzzle's picture: pen strokes kept in the picture's own
// coordinates (the 440 × 460 picture of the text mode), so they stay on the same
// spot at any size the picture is shown. Stored as a compact, versioned record of
// at most MaxBytes; the oldest strokes give way beyond it.
#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <vector>

enum class MemoInk : std::uint8_t { Pen = 0, Red = 1 };

struct MemoStroke {
    MemoInk ink = MemoInk::Pen;
    qreal width = 2.5;           // in picture pixels
    std::vector<QPointF> points; // in picture pixels, within TMemo::Picture
    bool operator==(const MemoStroke &) const = default;
};

class TMemo
{
  public:
    // The coordinates strokes are kept in: the whole picture as the text mode shows it.
    static constexpr int PictureWidth = 440;
    static constexpr int PictureHeight = 460;
    static QRectF Picture() { return {0, 0, PictureWidth, PictureHeight}; }
    // The largest stored record. A stroke never holds more points than fit in it
    // many times over: a longer drag goes on as a new stroke.
    static constexpr int MaxBytes = 64 * 1024;
    static constexpr int MaxStrokePoints = 2048;
    static constexpr qreal MinWidth = 0.25;
    static constexpr qreal MaxWidth = 63.75;

    const std::vector<MemoStroke> &Strokes() const { return strokes_; }
    bool IsEmpty() const { return strokes_.empty(); }
    // Points are kept within the picture, the width within its limits; a
    // stroke with no points is not kept.
    void Add(MemoStroke stroke);
    void Clear() { strokes_.clear(); }
    // Removes every stroke passing within radius of at (the stroke eraser);
    // true when one went.
    bool EraseAt(QPointF at, qreal radius);
    bool operator==(const TMemo &) const = default;

    // At most MaxBytes; the oldest strokes that do not fit are left out. An
    // empty memo is an empty array.
    QByteArray Serialize() const;

    struct Parsed;
    // Reads what it can: a damaged or unknown record gives the strokes before
    // the damage (none when the header is wrong); bytes past MaxBytes are never
    // read. Allocates no more than the bytes given justify.
    static Parsed Parse(const QByteArray &bytes);

  private:
    std::vector<MemoStroke> strokes_;
};

struct TMemo::Parsed {
    TMemo memo;
    bool damaged = false; // something was left out
};
