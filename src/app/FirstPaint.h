#pragma once
// Waits for a form's first paint and then, once that paint has reached the
// screen, runs what the start-up put off until a picture is shown.
#include <QObject>
#include <functional>

class QWidget;

namespace app
{

class FirstPaint : public QObject
{
  public:
    // Owned by the form; runs then once, on the event loop's next turn.
    FirstPaint(QWidget *form, std::function<void()> then);
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    std::function<void()> then_;
    bool done_ = false;
};

} // namespace app
