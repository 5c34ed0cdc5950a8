#pragma once
// Flat buttons: the push button of the dialogs (with a modal result) and the
// speed button of the toolbars (never takes the focus, hand cursor, hint).
#include "widgets/Colors.h"

#include <QAbstractButton>

class QPainter;

// Colours shared by the flat buttons.
struct TFlatButtonColors {
    zw::ColorValue face = zw::clPanel;
    zw::ColorValue focused = zw::clFocus;
    zw::ColorValue down = zw::clPanel;
    zw::ColorValue border = zw::clGray;
    zw::ColorValue highlight = zw::clBlack;
};

class TFlatButtonBase : public QAbstractButton
{
    Q_OBJECT
  public:
    explicit TFlatButtonBase(QWidget *parent = nullptr);

    TFlatButtonColors colors() const { return colors_; }
    void setColors(const TFlatButtonColors &colors);
    void setColorFace(zw::ColorValue v);
    void setColorFocused(zw::ColorValue v);
    void setColorDown(zw::ColorValue v);
    void setColorBorder(zw::ColorValue v);
    void setColorHighLight(zw::ColorValue v);
    // Takes the face colour from the parent (the form's colour).
    void setParentColor(bool on);

    void setGeometryLTWH(int left, int top, int width, int height) { setGeometry(left, top, width, height); }

    // A click as the user makes it, inside the form's handler scope.
    void Click();

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;
    // Fill, border and the pressed or focused edge, as every flat button shows them.
    void paintFace(QPainter &p, const QColor &fill) const;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    virtual void beforeClickHandlers() {}
    bool highlighted() const;

  private:
    TFlatButtonColors colors_;
    bool parentColor_ = false;
};

class TFlatButton : public TFlatButtonBase
{
    Q_OBJECT
  public:
    explicit TFlatButton(QWidget *parent = nullptr);

    int ModalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    // Flat buttons take the focus on a mouse press only, unless asked.
    void setTabStop(bool on);

  protected:
    void beforeClickHandlers() override;

  private:
    int modalResult_ = 0;
};

class TFlatSpeedButton : public TFlatButtonBase
{
    Q_OBJECT
  public:
    explicit TFlatSpeedButton(QWidget *parent = nullptr);
    void setHint(const QString &hint) { setToolTip(hint); }
    QString hint() const { return toolTip(); }
};
