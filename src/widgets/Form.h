#pragma once
// The base of every screen and dialog: a borderless window centred on the
// screen (or its owner) that runs modally and ends with a modal result, sees
// keys before its controls and asks before it closes.
#include "widgets/Colors.h"

#include <QPointer>
#include <QWidget>

class QEventLoop;
class QKeyEvent;
class TStage;

// Modal results shared by all forms.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrYes = 6,
    mrNo = 7,
};

class TForm : public QWidget
{
    Q_OBJECT
  public:
    enum class CloseAction { None, Hide, Free };

    explicit TForm(QWidget *owner = nullptr, Qt::WindowFlags extra = {});
    ~TForm() override;

    // Shows the form modally and returns its modal result. A form whose close
    // action is Free deletes itself (later, from the event loop) once closed.
    int ShowModal();
    // Shows the form modally without waiting: for tests and nested flows.
    // The result is reported through modalFinished.
    void ShowModalAsync();
    bool isModalRunning() const { return loop_ != nullptr || asyncModal_; }

    int modalResult() const { return modalResult_; }
    // A non-zero result ends the modal run once the current handler returns.
    void setModalResult(int result);

    void setColor(zw::ColorValue value);
    zw::ColorValue color() const { return color_; }

    // Client size in pixels; the window has no frame, so this is its size.
    void setClientSize(int width, int height);

    void setKeyPreview(bool on) { keyPreview_ = on; }
    bool keyPreview() const { return keyPreview_; }

    // Centres the form on the owner's window, or on the screen without one;
    // on the game's picture when the form shows on the stage.
    void centre();
    // On the stage the form becomes its child while it shows.
    void setVisible(bool visible) override;
    // The stage a form with no owner there shows on; whoever puts it there
    // says so before it first shows (null: follow the owner).
    void setStage(TStage *stage);
    // The stage the form shows on: its own, else its owner's (the stage
    // holding the owner, or the one the owner was told); null where it is a
    // window of its own.
    TStage *stage() const;
    // Gives the keyboard to the control that last had it here, or the first
    // one: what activating a window does, for a form on the stage.
    void takeKeyboard();
    void setCentreOnScreen(bool screen) { centreOnScreen_ = screen; }

    // Runs a handler so that a modal result it sets takes effect only when
    // it is over (a button click sets the result, then its handler may take it back).
    template <typename F> void runHandler(F &&f)
    {
        ++handlerDepth_;
        struct Guard {
            TForm *form;
            ~Guard() { form->leaveHandler(); }
        } guard{this};
        f();
    }

    // The form holding a widget, if any.
    static TForm *formOf(QWidget *widget);
    // Whether the widget is one of this form's own controls, in the form's
    // window (or on the stage), not in a popup of one of them.
    bool holdsControl(const QWidget *widget) const;

  signals:
    void modalFinished(int result);

  protected:
    // Seen before the focused control while key preview is on; the key still
    // reaches the control afterwards unless this returns true.
    virtual bool FormKeyDown(QKeyEvent *event);
    // False keeps the form open.
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose(CloseAction &action) { Q_UNUSED(action); }
    // Every time the form is shown.
    virtual void FormShow() {}

    void setCloseAction(CloseAction action) { closeAction_ = action; }

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    friend class TKeyPreviewFilter;
    bool previewKey(QObject *watched, QEvent *event);
    void leaveHandler();
    void applyModalResult();
    void endModal();

    zw::ColorValue color_ = zw::clPanel;
    int modalResult_ = mrNone;
    int handlerDepth_ = 0;
    bool keyPreview_ = false;
    bool centreOnScreen_ = true;
    bool inPreview_ = false;
    bool asyncModal_ = false;
    bool closing_ = false;
    CloseAction closeAction_ = CloseAction::Hide;
    QEventLoop *loop_ = nullptr;
    QObject *previewFilter_ = nullptr;
    // Told, or the last that held it, so that a form given back to no owner
    // shows there again; a TStage, kept as a QWidget so that this header
    // needs only its name.
    QPointer<QWidget> stage_;
};
