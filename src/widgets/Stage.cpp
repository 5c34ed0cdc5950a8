#include "widgets/Stage.h"

#include "widgets/Form.h"
#include "platform/desktop/GameApplication.h"
#include "platform/desktop/WindowScale.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtMath>
#include <algorithm>

namespace {
TStage *g_stage = nullptr;

// The colour around the picture: dark, so the eye stays on the game.
const QColor BorderColour(28, 26, 23);

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Enter:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}
}  // namespace

// Qt paints no window below one device pixel per logical pixel (its painter
// takes a smaller ratio as 1), while geometry and input follow any factor.
// Below 1 this layer lies over the whole stage: it renders the picture at its
// own size and draws it shrunk, in the display's pixels. Input passes through
// to the forms, which lie where the picture shows them.
class TStage::ShrunkPicture : public QWidget
{
  public:
    ShrunkPicture(TStage *stage) : QWidget(stage), stage_(stage)
    {
        setObjectName(QStringLiteral("ShrunkPicture"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // Not opaque: Qt then drops the updates of the forms under it.
        hide();
    }

  protected:
    void paintEvent(QPaintEvent *event) override
    {
        QWidget *board = stage_->board();
        const double f = platform::windowScale(stage_->windowHandle());
        // The dirty part of the picture, from the display's pixels (the
        // painter's units here) into the board's, a pixel wider for the filter.
        const QRectF boardDevice(QPointF(board->pos()) * f, QSizeF(board->size()) * f);
        const QRectF asked(QPointF(event->rect().topLeft()) * f, QSizeF(event->rect().size()) * f);
        const QRectF dirty = asked.translated(-boardDevice.topLeft());
        const QRect source =
            QRectF(dirty.topLeft() / f, dirty.size() / f).toAlignedRect().adjusted(-2, -2, 2, 2) &
            board->rect();
        if (cache_.size() != board->size()) {
            cache_ = QImage(board->size(), QImage::Format_RGB32);
            cache_.fill(BorderColour);
        }
        if (!source.isEmpty()) {
            QPainter c(&cache_);
            c.fillRect(source, BorderColour);
            c.end();
            board->render(&cache_, source.topLeft(), QRegion(source), QWidget::DrawChildren);
        }
        QPainter p(this);
        p.fillRect(asked, BorderColour);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(boardDevice, cache_);
    }

  private:
    TStage *stage_;
    QImage cache_;
};

TStage::TStage(QSize picture)
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("Stage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    board_ = new QWidget(this);
    board_->setObjectName(QStringLiteral("Board"));
    board_->setFixedSize(picture);
    board_->setAutoFillBackground(false);
    // The window never shrinks below the picture, so no control is cut off.
    setMinimumSize(picture);
    resize(picture);
    shrunk_ = new ShrunkPicture(this);
    g_stage = this;
    // Held back before any form's own filter sees it, where the application
    // offers that; a filter of our own otherwise.
    if (auto *application = platform::GameApplication::instance())
        application->setEventGate([this](QObject *o, QEvent *e) { return blocks(o, e); });
    else
        qApp->installEventFilter(this);
}

TStage::~TStage()
{
    if (auto *application = platform::GameApplication::instance())
        application->setEventGate({});
    qApp->removeEventFilter(this);
    if (g_stage == this)
        g_stage = nullptr;
    // Forms still here go back to their owners, which free them as before.
    while (!forms_.empty()) {
        Entry e = forms_.back();
        forms_.pop_back();
        disconnect(e.ownerGone);
        if (e.form)
            e.form->setParent(e.owner, e.flags);
    }
}

TStage *TStage::current()
{
    return g_stage;
}

TStage::Entry *TStage::entryOf(const TForm *form)
{
    for (Entry &e : forms_)
        if (e.form == form)
            return &e;
    return nullptr;
}

const TStage::Entry *TStage::entryOf(const TForm *form) const
{
    return const_cast<TStage *>(this)->entryOf(form);
}

bool TStage::holds(const TForm *form) const
{
    return entryOf(form) != nullptr;
}

TForm *TStage::topForm() const
{
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
        if (it->form && it->form->isVisible())
            return it->form;
    return nullptr;
}

bool TStage::isBlocked(const QWidget *widget) const
{
    // The form a widget belongs to is its ancestor right under the board.
    const QWidget *w = widget;
    while (w && w->parentWidget() != board_)
        w = w->parentWidget();
    if (!w)
        return false;  // popups, tooltips, the stage itself
    const TForm *top = topForm();
    return top && w != top;
}

QRect TStage::centreArea(const TForm *form, bool onOwner) const
{
    if (onOwner) {
        if (const Entry *e = entryOf(form); e && e->owner) {
            QWidget *ownerWindow = e->owner;
            while (ownerWindow->parentWidget() && ownerWindow->parentWidget() != board_)
                ownerWindow = ownerWindow->parentWidget();
            if (ownerWindow->parentWidget() == board_)
                return ownerWindow->geometry();
        }
    }
    return board_->rect();
}

void TStage::embed(TForm *form)
{
    if (entryOf(form))
        return;
    forms_.erase(std::remove_if(forms_.begin(), forms_.end(), [](const Entry &e) { return !e.form; }), forms_.end());
    Entry e;
    e.form = form;
    e.owner = form->parentWidget();
    e.flags = form->windowFlags();
    e.previousFocus = QApplication::focusWidget();
    // A form is freed with its owner; here it is the board's child, so the
    // owner's end frees it the same way.
    if (e.owner)
        e.ownerGone = connect(e.owner, &QObject::destroyed, form, [form] { delete form; });
    forms_.push_back(e);
    // A sub-window keeps Tab and Backtab among its own controls.
    form->setParent(board_, Qt::SubWindow | Qt::FramelessWindowHint);
    form->centre();
    form->raise();
}

void TStage::release(TForm *form)
{
    auto it = std::find_if(forms_.begin(), forms_.end(), [form](const Entry &e) { return e.form == form; });
    if (it == forms_.end())
        return;
    Entry e = *it;
    forms_.erase(it);
    disconnect(e.ownerGone);
    QWidget *focused = QApplication::focusWidget();
    const bool hadFocus = focused && (form == focused || form->isAncestorOf(focused));
    // The keyboard leaves with the form: a focus widget left inside a hidden
    // window of its own would outlive its place in the stage's focus chain.
    if (hadFocus)
        focused->clearFocus();
    form->setParent(e.owner, e.flags);
    // The form below takes the keyboard back, where it had it.
    if (hadFocus || !QApplication::focusWidget()) {
        TForm *top = topForm();
        if (e.previousFocus && e.previousFocus->isVisible() && (!top || top->isAncestorOf(e.previousFocus)))
            e.previousFocus->setFocus(Qt::OtherFocusReason);
        else if (top)
            top->setFocus(Qt::OtherFocusReason);
    }
}

void TStage::refocusTop()
{
    TForm *top = topForm();
    QWidget *focused = QApplication::focusWidget();
    if (!top || top == focused || top->isAncestorOf(focused))
        return;
    top->takeKeyboard();
}

void TStage::forget(TForm *form)
{
    for (auto it = forms_.begin(); it != forms_.end(); ++it) {
        if (it->form == form) {
            disconnect(it->ownerGone);
            forms_.erase(it);
            return;
        }
    }
}

void TStage::showFullScreenOrWindow(bool fullScreen)
{
    // Without a window manager nobody answers these requests: the window
    // takes the screen's size, or its own again, itself. The scale comes
    // first, so that the logical geometry asked for is the one it gets.
    if (fullScreen) {
        if (!isFullScreen() && isVisible())
            windowGeometry_ = platform::nativeGeometry(windowHandle());
        if (windowHandle())
            scaleTo(platform::fitFactor(platform::screenDevicePixels(windowHandle()), board_->size()));
        if (QScreen *s = screen())
            setGeometry(s->geometry());
        showFullScreen();
    } else {
        showNormal();
        if (windowGeometry_.isValid() && windowHandle()) {
            const QSize device = platform::devicePixels(windowHandle(), windowGeometry_.size());
            scaleTo(platform::fitFactor(device, board_->size()));
            setGeometry(platform::logicalGeometry(windowHandle(), windowGeometry_));
            // The logical size rounds at a fractional factor; the window
            // system's own is the one the window had.
            platform::setWindowPixels(windowHandle(), device);
        }
    }
}

void TStage::setScalesWithWindow(bool on)
{
    scalesWithWindow_ = on;
    keepMinimumSize();
}

void TStage::scaleTo(double factor)
{
    if (!scalesWithWindow_ || !windowHandle())
        return;
    if (platform::setWindowScale(windowHandle(), factor)) {
        keepMinimumSize();
        emit scaleChanged();
        showShrunk();
        // What the last scale left on the screen goes.
        update();
    }
}

void TStage::showShrunk()
{
    shrunk_->setGeometry(rect());
    shrunk_->setVisible(platform::windowScale(windowHandle()) < 1.0 - 1e-9);
    shrunk_->raise();
}

void TStage::fitScale()
{
    fitPending_ = false;
    if (!scalesWithWindow_ || !windowHandle())
        return;
    const QSize device = platform::windowDevicePixels(windowHandle());
    if (!device.isEmpty())
        scaleTo(platform::fitFactor(device, board_->size()));
    keepMinimumSize();  // also for the first show, before any change of scale
    showShrunk();
}

void TStage::keepMinimumSize()
{
    // At a fixed scale the window never shrinks below the picture, so no
    // control is cut off. Scaling with it, it may shrink to half the picture
    // in the display's pixels, the smallest scale the picture is drawn at.
    if (!scalesWithWindow_ || !windowHandle()) {
        setMinimumSize(board_->size());
        return;
    }
    const double f = platform::windowScale(windowHandle());
    setMinimumSize(qCeil(board_->width() * 0.5 / f), qCeil(board_->height() * 0.5 / f));
}

QSize TStage::normalWindowPixels() const
{
    if (isVisible() && windowState() == Qt::WindowNoState && windowHandle())
        return platform::windowDevicePixels(windowHandle());
    return normalPixels_;
}

void TStage::toggleFullScreen()
{
    showFullScreenOrWindow(!isFullScreen());
}

void TStage::placeBoard()
{
    board_->move((width() - board_->width()) / 2, (height() - board_->height()) / 2);
}

void TStage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeBoard();
    shrunk_->setGeometry(rect());
    if (isVisible())
        rememberNormalSize();
    // The new scale once this resize is handled: Qt is still delivering it.
    if (scalesWithWindow_ && !fitPending_) {
        fitPending_ = true;
        QTimer::singleShot(0, this, &TStage::fitScale);
    }
}

void TStage::rememberNormalSize()
{
    // The window system's own size: a logical one, rounded at a fractional
    // factor, would come back a pixel smaller at each start. A change of a
    // pixel there may bring no resize of the logical size, so this runs
    // again as the window hides.
    if (windowState() != Qt::WindowNoState || !windowHandle())
        return;
    const QSize pixels = platform::windowDevicePixels(windowHandle());
    if (!pixels.isEmpty() && pixels != normalPixels_) {
        previousNormalPixels_ = normalPixels_;
        normalPixels_ = pixels;
    }
}

void TStage::hideEvent(QHideEvent *event)
{
    rememberNormalSize();
    QWidget::hideEvent(event);
}

void TStage::paintEvent(QPaintEvent *event)
{
    // Only the borders where a form covers the whole picture: it paints that
    // itself, and filling under it too was a good part of the first paint.
    QRegion fill = event->region();
    const QList<QWidget *> forms = board_->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    if (std::any_of(forms.begin(), forms.end(),
                    [this](const QWidget *w) { return w->isVisible() && w->geometry().contains(board_->rect()); }))
        fill -= board_->geometry();
    QPainter p(this);
    for (const QRect &r : fill)
        p.fillRect(r, BorderColour);
}

void TStage::closeEvent(QCloseEvent *event)
{
    // The window manager's close is the main form's close, with its question;
    // while a dialog is open it waits, as the dialog's owner would.
    TForm *top = topForm();
    if (!top) {
        event->accept();  // the main form has closed: the game is ending
        return;
    }
    event->ignore();
    if (forms_.front().form == top) {
        top->close();
        if (!top->isVisible())
            event->accept();
    }
}

void TStage::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (isMaximized() || isFullScreen())) {
        // A window manager may send the new size before the new state.
        if (normalPixels_ == platform::windowDevicePixels(windowHandle()))
            normalPixels_ = previousNormalPixels_;
        if (!isFullScreen())
            maximised_ = true;
    } else if (event->type() == QEvent::WindowStateChange && windowState() == Qt::WindowNoState) {
        maximised_ = false;
    }
    if (event->type() == QEvent::WindowStateChange && isFullScreen() != wasFullScreen_) {
        wasFullScreen_ = isFullScreen();
        emit fullScreenChanged(wasFullScreen_);
    }
}

bool TStage::blocks(QObject *receiver, QEvent *event) const
{
    if (event->type() == QEvent::FocusIn && receiver->isWidgetType() &&
        isBlocked(static_cast<QWidget *>(receiver))) {
        // A form under a modal one took the keyboard (a timer of its own, a
        // click seen before any gate): the form on top takes it back.
        QMetaObject::invokeMethod(const_cast<TStage *>(this), &TStage::refocusTop, Qt::QueuedConnection);
        return false;
    }
    if (!isInput(event->type()) || !receiver->isWidgetType())
        return false;
    return isBlocked(static_cast<QWidget *>(receiver));
}

bool TStage::eventFilter(QObject *watched, QEvent *event)
{
    return blocks(watched, event);
}
