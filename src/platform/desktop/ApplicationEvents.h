#pragma once
// The application's foreground events as one object: another program took the
// foreground, the main window was minimised, or it came back.
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace platform
{

class ApplicationEvents : public QObject
{
    Q_OBJECT
  public:
    explicit ApplicationEvents(QWidget *mainWindow);

  signals:
    void deactivated();
    void minimized();
    void restored();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QPointer<QWidget> window_;
    bool wasActive_ = false;
    bool minimized_ = false;
};

// Keeps a window centred on its screen, also when the screen changes size (a
// display mode switch lands after the window is shown).
void keepCentredOnScreen(QWidget *window);

} // namespace platform
