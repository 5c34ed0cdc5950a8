#pragma once
// A text label shown at any opacity between invisible and solid, fading in or
// out on request. It composes itself from a private snapshot of its parent's
// pixels behind it and its own text image, pixel by pixel, rather than relying
// on the toolkit's transparency, so a fade costs one small composition a tick.
#include "widgets/Label.h"

#include <QImage>
#include <cstdint>

class QTimer;

class TAlphaLabel : public TLabel
{
    Q_OBJECT
  public:
    explicit TAlphaLabel(QWidget *parent = nullptr);

    std::uint8_t Alpha() const { return alpha_; }
    void setAlpha(std::uint8_t value);
    std::uint16_t ShowTime() const { return showTime_; }
    // Also computes FadeStep from the MinAlpha and MaxAlpha of this moment.
    void setShowTime(std::uint16_t ms);
    std::uint8_t MinAlpha() const { return minAlpha_; }
    void setMinAlpha(std::uint8_t value); // ignored unless below MaxAlpha
    std::uint8_t MaxAlpha() const { return maxAlpha_; }
    void setMaxAlpha(std::uint8_t value); // ignored unless above MinAlpha
    std::uint8_t FadeStep() const { return fadeStep_; }

    void FadeIn();
    void FadeOut();
    // One step of the running fade, as the 10 ms timer runs it; tests call it
    // directly instead of waiting for the timer.
    void FadeTick();
    bool isFading() const;
    bool isFadingIn() const { return fadingIn_; }
    static constexpr int TickMs = 10;

    // Sizes both images to the label (new areas white) once the label has its
    // place; a later resize does it again and takes a new snapshot.
    void Loaded();
    bool snapshotNeeded() const { return snapshotNeeded_; }
    const QImage &surface() const { return surface_; }
    const QImage &snapshot() const { return snapshot_; }

    // The per-pixel composition, in place: surface pixels equal to the key
    // colour (the pixel at 0,0) become the snapshot's, every other channel c
    // becomes nearest(alpha * c / 255 + (255 - alpha) * b / 255).
    static void Compose(QImage &surface, const QImage &snapshot, std::uint8_t alpha);
    // One channel of that composition.
    static constexpr std::uint8_t blendChannel(unsigned alpha, unsigned c, unsigned b)
    {
        // The exact value is n / 255 with an odd divisor, so it never lies
        // half-way between two integers: adding 127 rounds to nearest, and
        // nearest with ties to even gives the same.
        return std::uint8_t((alpha * c + (255 - alpha) * b + 127) / 255);
    }

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    void takeSnapshot();
    static QImage resized(const QImage &image, QSize size, qreal ratio);
    QSize surfaceSize() const;
    qreal surfaceRatio() const;

    std::uint8_t alpha_ = 255;
    std::uint16_t showTime_ = 0;
    std::uint8_t minAlpha_ = 0;
    std::uint8_t maxAlpha_ = 255;
    std::uint8_t fadeStep_ = 3;
    bool fadingIn_ = false;
    QTimer *timer_;
    QImage surface_;
    QImage snapshot_;
    bool snapshotNeeded_ = true;
};
