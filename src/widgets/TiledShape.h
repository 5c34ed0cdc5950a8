#pragma once
// A rectangle without outline whose brush is a bitmap, tiled from its top-left.
#include <QImage>
#include <QWidget>

class TTiledShape : public QWidget
{
    Q_OBJECT
  public:
    explicit TTiledShape(QWidget *parent = nullptr);
    void setTile(const QImage &tile);
    const QImage &tile() const { return tile_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QImage tile_;
};
