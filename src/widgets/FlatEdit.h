#pragma once
// The flat one-line edit: no 3-D border, a 1-pixel frame in a 3-pixel margin,
// ColorFlat at rest and ColorFocused while focused or under the pointer, and a
// height of the font's text height + 6.
#include "widgets/Colors.h"

#include <QLineEdit>

class TFlatEdit : public QLineEdit
{
    Q_OBJECT
  public:
    explicit TFlatEdit(QWidget *parent = nullptr);

    void setColorFlat(zw::ColorValue v);
    void setColorFocused(zw::ColorValue v);
    void setColorBorder(zw::ColorValue v);
    zw::ColorValue colorFlat() const { return colorFlat_; }
    zw::ColorValue colorFocused() const { return colorFocused_; }
    zw::ColorValue colorBorder() const { return colorBorder_; }
    // The colour shown now.
    QColor currentBackground() const;

    // Height follows the font unless fixed by the caller afterwards.
    static int heightFor(const QFont &font);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

  private:
    void refreshColors();
    void adjustHeight();

    zw::ColorValue colorFlat_ = zw::systemColor(zw::SysWindow);
    zw::ColorValue colorFocused_ = zw::clWhite;
    zw::ColorValue colorBorder_ = zw::clFlatBorder;
    bool pointerOver_ = false;
};
