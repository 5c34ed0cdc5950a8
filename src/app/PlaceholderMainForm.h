#pragma once
// The start screen shown until the main menu takes its place: a borderless
// 800 x 600 window with the "StartScreen" picture. Escape closes it. It gives
// the display back when the game loses the foreground and retakes it after.
#include <QImage>
#include <QWidget>

namespace app {

class PlaceholderMainForm : public QWidget {
    Q_OBJECT
public:
    explicit PlaceholderMainForm(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QImage background_;
};

}  // namespace app
