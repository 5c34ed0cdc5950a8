#pragma once
// The rest of the flat widget set: framed panel, radio button, combo box,
// gauge and the large gradient push button of the main menu.
#include "widgets/Colors.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QWidget>

class QVariantAnimation;

namespace zw
{
// A setter of a widget's looks: keep the value and draw again.
template <class T> void restyle(QWidget *widget, T &field, T value)
{
    field = value;
    widget->update();
}
} // namespace zw

// A framed panel; its children are placed inside it.
class TFlatPanel : public QWidget
{
    Q_OBJECT
  public:
    explicit TFlatPanel(QWidget *parent = nullptr);
    void setColor(zw::ColorValue v);
    void setColorBorder(zw::ColorValue v);
    zw::ColorValue color() const { return color_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    zw::ColorValue color_ = zw::clPanel;
    zw::ColorValue border_ = zw::clGray;
};

// A radio button drawn flat; among its siblings only one is checked, and its
// click is raised only when it becomes the checked one.
class TFlatRadioButton : public QAbstractButton
{
    Q_OBJECT
  public:
    explicit TFlatRadioButton(QWidget *parent = nullptr);
    void setColorFocused(zw::ColorValue v) { zw::restyle(this, focused_, v); }
    void setColorBorder(zw::ColorValue v) { zw::restyle(this, border_, v); }
    void setColorCheck(zw::ColorValue v) { zw::restyle(this, check_, v); }
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    void nextCheckState() override;

  private:
    zw::ColorValue focused_ = zw::clFocus;
    zw::ColorValue border_ = zw::clGray;
    zw::ColorValue check_ = zw::clBlack;
};

class TFlatComboBox : public QComboBox
{
    Q_OBJECT
  public:
    // Simple: a plain name box the user types into. DropDownList: pick only.
    enum class Style { Simple, DropDownList };

    explicit TFlatComboBox(QWidget *parent = nullptr);

    void setStyle(Style style);
    Style comboStyle() const { return style_; }
    // Items kept in alphabetical order as they are added.
    void setSorted(bool on);
    bool sorted() const { return sorted_; }
    void setMaxLength(int length);
    int maxLength() const { return maxLength_; }
    void setItemHeight(int height);
    void setColor(zw::ColorValue v);
    void setColorArrowBackground(zw::ColorValue v);
    void setColorBorder(zw::ColorValue v);

    void addItemSorted(const QString &text);
    void setItems(const QStringList &items);
    QStringList items() const;
    // The picked line, or the typed text in the simple style.
    QString text() const { return currentText(); }
    void setText(const QString &text);

    QSize sizeHint() const override;
    // True while an arrow key or the wheel moves the pick in the closed box,
    // as against a pick from the open list.
    bool isStepping() const { return stepping_; }
    void showPopup() override;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    bool stepping_ = false;
    Style style_ = Style::DropDownList;
    bool sorted_ = false;
    int maxLength_ = 0;
    zw::ColorValue color_ = zw::clWhite;
    zw::ColorValue arrow_ = zw::clFocus;
    zw::ColorValue border_ = zw::clGray;
};

// A flat progress gauge from 0 to 100 showing "NN %".
class TGauge : public QWidget
{
    Q_OBJECT
  public:
    explicit TGauge(QWidget *parent = nullptr);
    void setProgress(int value);
    int progress() const { return progress_; }
    QString text() const;
    void setColor(zw::ColorValue v) { zw::restyle(this, color_, v); }
    void setColorBorder(zw::ColorValue v) { zw::restyle(this, border_, v); }
    void setColorBar(zw::ColorValue v) { zw::restyle(this, bar_, v); }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    int progress_ = 0;
    zw::ColorValue color_ = zw::clPanel;
    zw::ColorValue border_ = zw::clGray;
    zw::ColorValue bar_ = zw::clGray;
};

// A push button painted with a gradient that fades to its hover colours
// while the pointer is over it.
class TGradientButton : public QAbstractButton
{
    Q_OBJECT
  public:
    explicit TGradientButton(QWidget *parent = nullptr);
    void setGradient(zw::ColorValue from, zw::ColorValue to);
    void setHotGradient(zw::ColorValue from, zw::ColorValue to);
    void setVertical(bool on) { zw::restyle(this, vertical_, on); }
    void setTextColor(zw::ColorValue v) { zw::restyle(this, textColor_, v); }
    void setColorBorder(zw::ColorValue v) { zw::restyle(this, border_, v); }
    // 0 at rest, 1 fully hot.
    qreal hotLevel() const { return hot_; }
    void setFadeTime(int ms) { fadeMs_ = ms; }
    QSize sizeHint() const override;

  signals:
    void mouseEntered();
    void mouseLeft();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

  private:
    void fadeTo(qreal target);

    zw::ColorValue from_ = zw::rgbValue(255, 255, 255);
    zw::ColorValue to_ = zw::rgbValue(220, 200, 150);
    zw::ColorValue hotFrom_ = zw::rgbValue(255, 250, 230);
    zw::ColorValue hotTo_ = zw::clFocus;
    zw::ColorValue textColor_ = zw::rgbValue(0, 0, 128);
    zw::ColorValue border_ = zw::clGray;
    bool vertical_ = true;
    qreal hot_ = 0;
    int fadeMs_ = 150;
    QVariantAnimation *fade_ = nullptr;
};
