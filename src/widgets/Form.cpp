#include "widgets/Form.h"

#include "widgets/Stage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

// Watches the application's keys for one form, apart from the form's own
// event filter so that subclasses keep theirs to themselves.
class TKeyPreviewFilter : public QObject
{
  public:
    explicit TKeyPreviewFilter(TForm *form) : QObject(form), form_(form) {}
    bool eventFilter(QObject *watched, QEvent *event) override { return form_->previewKey(watched, event); }

  private:
    TForm *form_;
};

TForm::TForm(QWidget *owner, Qt::WindowFlags extra)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | extra)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    previewFilter_ = new TKeyPreviewFilter(this);
    qApp->installEventFilter(previewFilter_);
}

TForm::~TForm()
{
    if (TStage *stage = this->stage())
        stage->forget(this);
    // The widget half outlives this destructor and still receives events;
    // none may reach a form that is gone.
    qApp->removeEventFilter(previewFilter_);
    delete previewFilter_;
    previewFilter_ = nullptr;
    if (loop_)
        loop_->quit();
}

TForm *TForm::formOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *form = qobject_cast<TForm *>(w))
            return form;
    }
    return nullptr;
}

bool TForm::holdsControl(const QWidget *widget) const
{
    if (!widget || formOf(const_cast<QWidget *>(widget)) != this)
        return false;
    const QWidget *window = widget->window();
    if (window == this)
        return true;
    const TStage *stage = this->stage();
    return stage && window == stage;
}

void TForm::setStage(TStage *stage)
{
    stage_ = stage;
}

TStage *TForm::stage() const
{
    if (stage_)
        return static_cast<TStage *>(stage_.data());
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *stage = qobject_cast<TStage *>(w))
            return stage;
        if (auto *owner = qobject_cast<TForm *>(w); owner && owner->stage_)
            return static_cast<TStage *>(owner->stage_.data());
    }
    return nullptr;
}

void TForm::setColor(zw::ColorValue value)
{
    color_ = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, zw::toQColor(value));
    setPalette(pal);
    update();
}

void TForm::setClientSize(int width, int height)
{
    setFixedSize(width, height);
}

void TForm::centre()
{
    if (TStage *stage = this->stage(); stage && stage->holds(this)) {
        const QRect area = stage->centreArea(this, !centreOnScreen_);
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
        return;
    }
    QRect area;
    if (!centreOnScreen_ && parentWidget())
        area = parentWidget()->window()->geometry();
    else if (QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen())
        area = s->geometry();
    if (area.isEmpty())
        return;
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TForm::setVisible(bool visible)
{
    TStage *stage = this->stage();
    if (visible && stage && !isVisible() && !stage->holds(this)) {
        stage_ = stage;
        stage->embed(this);
    }
    QWidget::setVisible(visible);
    if (visible && stage && stage->holds(this)) {
        // A window gets the keyboard when it is activated; a child must be given it.
        if (!isAncestorOf(QApplication::focusWidget()))
            takeKeyboard();
    }
    if (!visible && stage && stage->holds(this))
        stage->release(this);
}

void TForm::takeKeyboard()
{
    QWidget *remembered = focusWidget();
    if (remembered && isAncestorOf(remembered) && remembered->isVisible() && remembered->isEnabled())
        remembered->setFocus(Qt::ActiveWindowFocusReason);
    else if (!focusNextPrevChild(true))
        setFocus(Qt::ActiveWindowFocusReason);
}

int TForm::ShowModal()
{
    modalResult_ = mrNone;
    closing_ = false;
    setWindowModality(Qt::ApplicationModal);
    centre();
    QEventLoop loop;
    loop_ = &loop;
    QPointer<TForm> self(this);
    int result = mrNone;
    auto finished = connect(this, &TForm::modalFinished, this, [&result](int r) { result = r; });
    show();
    raise();
    activateWindow();
    if (modalResult_ == mrNone || isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (!self)
        return result;
    disconnect(finished);
    loop_ = nullptr;
    if (isVisible()) // the loop ended for another reason (application quit)
        endModal();
    result = modalResult_;
    if (closeAction_ == CloseAction::Free)
        deleteLater();
    return result;
}

void TForm::ShowModalAsync()
{
    modalResult_ = mrNone;
    closing_ = false;
    asyncModal_ = true;
    setWindowModality(Qt::ApplicationModal);
    centre();
    show();
    raise();
    activateWindow();
}

void TForm::setModalResult(int result)
{
    modalResult_ = result;
    if (result != mrNone && handlerDepth_ == 0) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (handlerDepth_ == 0)
                    applyModalResult();
            },
            Qt::QueuedConnection);
    }
}

void TForm::leaveHandler()
{
    if (--handlerDepth_ == 0)
        applyModalResult();
}

void TForm::applyModalResult()
{
    if (modalResult_ == mrNone || !isModalRunning() || closing_ || !isVisible())
        return;
    closing_ = true;
    if (!FormCloseQuery()) {
        modalResult_ = mrNone;
        closing_ = false;
        return;
    }
    endModal();
}

void TForm::endModal()
{
    CloseAction action = closeAction_;
    FormClose(action);
    closeAction_ = action;
    const int result = modalResult_;
    hide();
    setWindowModality(Qt::NonModal);
    closing_ = false;
    if (loop_)
        loop_->quit();
    const bool wasAsync = asyncModal_;
    asyncModal_ = false;
    QPointer<TForm> self(this);
    emit modalFinished(result);
    if (self && wasAsync && closeAction_ == CloseAction::Free)
        deleteLater();
}

bool TForm::FormKeyDown(QKeyEvent *)
{
    return false;
}

bool TForm::previewKey(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !keyPreview_ || inPreview_ || !isVisible())
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!holdsControl(w))
        return false;
    if (TStage *stage = this->stage(); stage && stage->isBlocked(w))
        return false;
    // The key is delivered to the control from here, inside the handler, so
    // that the form sees it exactly once and a result set by the form takes
    // effect only after the control has had the key too.
    auto *key = static_cast<QKeyEvent *>(event);
    QPointer<QWidget> target(w);
    QPointer<TForm> self(this);
    runHandler([&] {
        if (FormKeyDown(key) || !target || !self)
            return;
        inPreview_ = true;
        QCoreApplication::sendEvent(target, key);
        if (self)
            inPreview_ = false;
    });
    key->accept();
    return true;
}

void TForm::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (isModalRunning()) {
        if (closing_)
            return;
        if (modalResult_ == mrNone)
            modalResult_ = mrCancel;
        if (handlerDepth_ == 0)
            applyModalResult();
        return;
    }
    if (!FormCloseQuery())
        return;
    CloseAction action = closeAction_;
    FormClose(action);
    closeAction_ = action;
    hide();
    if (action == CloseAction::Free)
        deleteLater();
}

void TForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), zw::toQColor(color_));
}
