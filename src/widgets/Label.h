#pragma once
// Text labels. A self-sizing label takes the width and height of its one line
// of text; a word-wrapping label keeps its width and takes the height of its
// wrapped text (within optional limits). Both are transparent.
#include "widgets/Colors.h"

#include <QWidget>

class TLabel : public QWidget
{
    Q_OBJECT
  public:
    explicit TLabel(QWidget *parent = nullptr);

    void setCaption(const QString &text);
    QString caption() const { return text_; }

    void setAutoSize(bool on);
    bool autoSize() const { return autoSize_; }
    void setWordWrap(bool on);
    bool wordWrap() const { return wordWrap_; }
    void setAlignment(Qt::Alignment a);
    Qt::Alignment alignment() const { return alignment_; }
    void setTextColor(zw::ColorValue v);
    zw::ColorValue textColor() const { return color_; }
    void setTransparent(bool on);
    void setBackground(zw::ColorValue v);
    // Size limits, 0 meaning none.
    void setConstraints(int minWidth, int maxWidth, int minHeight, int maxHeight);

    // The width the one-line text takes in the label's font.
    int textWidth() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void adjustBounds();

    QString text_;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = true;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
    zw::ColorValue color_ = zw::clBlack;
    zw::ColorValue background_ = zw::clPanel;
    int minWidth_ = 0, maxWidth_ = 0, minHeight_ = 0, maxHeight_ = 0;
    bool adjusting_ = false;
};
