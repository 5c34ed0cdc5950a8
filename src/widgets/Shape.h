#pragma once
// Plain drawn decorations: a rectangle shape and a picture box.
#include "widgets/Colors.h"

#include <QImage>
#include <QWidget>
#include <optional>

class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget *parent = nullptr);
    void setPenColor(zw::ColorValue v);
    // No brush: the shape is an outline over what lies below.
    void setBrushColor(std::optional<zw::ColorValue> v);
    zw::ColorValue penColor() const { return pen_; }
    std::optional<zw::ColorValue> brushColor() const { return brush_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    zw::ColorValue pen_ = zw::clGray;
    std::optional<zw::ColorValue> brush_;
};

class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget *parent = nullptr);
    void setPicture(const QImage &image);
    void clearPicture();
    const QImage &picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    // Stretched fills the box; otherwise the picture sits unscaled at the top-left.
    void setStretch(bool on);
    bool stretch() const { return stretch_; }
    void setCenter(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture_;
    bool stretch_ = false;
    bool center_ = false;
};
