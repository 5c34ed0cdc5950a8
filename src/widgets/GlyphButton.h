#pragma once
// A flat button that can carry a picture left of its caption.
#include "widgets/FlatButton.h"

#include <QImage>

class TGlyphButton : public TFlatButton
{
    Q_OBJECT
  public:
    explicit TGlyphButton(QWidget *parent = nullptr);
    void setGlyph(const QImage &glyph);
    void clearGlyph() { setGlyph(QImage()); }
    const QImage &glyph() const { return glyph_; }
    bool hasGlyph() const { return !glyph_.isNull(); }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QImage glyph_;
};
