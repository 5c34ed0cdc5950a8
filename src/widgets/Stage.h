#pragma once
// The game's one window where the display keeps its own mode: full screen or
// a resizable window, with the 800 x 600 picture centred in it and the rest
// filled. Every form (the main menu, the screens, the dialogs, the message
// box) shows inside it as a child rather than as a window of its own, so that
// no compositor can place a dialog outside the game and one scale covers all.
// Only the form shown last takes input, as a modal window would.
#include <QPointer>
#include <QWidget>
#include <vector>

class TForm;

class TStage : public QWidget
{
    Q_OBJECT
  public:
    explicit TStage(QSize picture = QSize(800, 600));
    ~TStage() override;

    QWidget *board() const { return board_; }
    // The form that takes input now: the last one shown that is still visible.
    TForm *topForm() const;
    // Whether input for this widget is held back, as a modal form would.
    bool isBlocked(const QWidget *widget) const;
    bool blocks(QObject *receiver, QEvent *event) const;

    bool isFullScreenState() const { return isFullScreen(); }
    void showFullScreenOrWindow(bool fullScreen);
    void toggleFullScreen();

    // Whether the picture grows and shrinks with the window: the largest
    // scale at which it fits, its aspect kept, as full screen shows it. Off,
    // it keeps the scale the application started with.
    void setScalesWithWindow(bool on);
    bool scalesWithWindow() const { return scalesWithWindow_; }
    // Where the window goes when it leaves full screen, in the window
    // system's coordinates (its last size from the settings, say).
    void setWindowGeometry(QRect native) { windowGeometry_ = native; }
    // Fits the scale to the window's size now; the resize does it by itself.
    void fitScale();
    // The window's last size in the display's pixels while it was neither
    // full screen, maximised nor minimised (empty if it never was), and
    // whether it was maximised when it last was a window: what the game
    // keeps for the next start, however this one ends.
    QSize normalWindowPixels() const;
    bool windowWasMaximised() const { return maximised_; }
    void setWindowWasMaximised(bool on) { maximised_ = on; }

    // Where the picture belongs in the window, in the display's pixels:
    // centred to the pixel, at the window's factor.
    QRect pictureTarget() const;
    // Where the picture was drawn in the window, in the display's pixels: by
    // Qt with the board, or by the layer that draws it between logical pixels.
    QRect pictureDrawn() const;

    // Called by TForm as it shows and hides.
    void embed(TForm *form);
    void release(TForm *form);
    void forget(TForm *form); // a form being destroyed
    bool holds(const TForm *form) const;
    // The rectangle, in board coordinates, a form is centred on: its owner's
    // when it asks for that and the owner shows here, else the whole picture.
    QRect centreArea(const TForm *form, bool onOwner) const;

  signals:
    void fullScreenChanged(bool fullScreen);
    // The windows are drawn at another factor now (the game's cursors follow).
    void scaleChanged();

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    struct Entry {
        QPointer<TForm> form;
        QPointer<QWidget> owner;
        Qt::WindowFlags flags;
        QPointer<QWidget> previousFocus;
        QMetaObject::Connection ownerGone;
    };
    Entry *entryOf(const TForm *form);
    const Entry *entryOf(const TForm *form) const;
    void placeBoard();
    void refocusTop();
    void scaleTo(double factor);
    void keepMinimumSize();
    void showPictureLayer();
    void rememberNormalSize();

    class PictureLayer;

    QWidget *board_;
    // Draws the picture where Qt cannot: between logical pixels, or shrunk.
    PictureLayer *layer_ = nullptr;
    std::vector<Entry> forms_; // in the order they were shown
    bool wasFullScreen_ = false;
    QRect windowGeometry_; // where the window was before full screen, native
    bool scalesWithWindow_ = false;
    bool fitPending_ = false;
    QSize normalPixels_, previousNormalPixels_;
    bool maximised_ = false;
};
