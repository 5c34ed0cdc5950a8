#include "widgets/Stage.h"

#include "platform/desktop/GameApplication.h"
#include "platform/desktop/WindowScale.h"
#include "widgets/Form.h"
#include "widgets/StagePictureLayer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace
{
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
} // namespace

TStage::TStage(QSize picture) : QWidget(nullptr, Qt::Window)
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
    layer_ = new PictureLayer(this);
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
    // Forms still here go back to their owners, which free them as before.
    while (!forms_.empty()) {
        Entry e = forms_.back();
        forms_.pop_back();
        disconnect(e.ownerGone);
        if (e.form)
            e.form->setParent(e.owner, e.flags);
    }
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
        return false; // popups, tooltips, the stage itself
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
    forms_.erase(std::remove_if(forms_.begin(), forms_.end(), [](const Entry &e) { return !e.form; }),
                 forms_.end());
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
        showPictureLayer();
        // What the last scale left on the screen goes.
        update();
    }
}

QRect TStage::pictureTarget() const
{
    const double f = platform::windowScale(windowHandle());
    QSize window = platform::windowDevicePixels(windowHandle());
    if (window.isEmpty())
        window = (QSizeF(size()) * f).toSize();
    const QSize picture(qRound(board_->width() * f), qRound(board_->height() * f));
    return QRect(QPoint((window.width() - picture.width()) / 2, (window.height() - picture.height()) / 2),
                 picture);
}

QRect TStage::pictureDrawn() const
{
    if (layer_->isVisible() && !layer_->drawn().isEmpty())
        return layer_->drawn();
    const double f = platform::windowScale(windowHandle());
    return QRectF(QPointF(board_->pos()) * f, QSizeF(board_->size()) * f).toRect();
}

void TStage::showPictureLayer()
{
    placeBoard();
    // Where Qt draws the board by itself, to the pixel and at 1 or more, it
    // is drawn once; elsewhere the layer draws it.
    const double f = platform::windowScale(windowHandle());
    const QPointF qtPlace = QPointF(board_->pos()) * f;
    const QPointF exact = pictureTarget().topLeft();
    const bool needed = f < 1.0 - 1e-9 || std::abs(qtPlace.x() - exact.x()) > 1e-6 ||
                        std::abs(qtPlace.y() - exact.y()) > 1e-6;
    layer_->setGeometry(rect());
    layer_->setVisible(needed);
    layer_->raise();
    layer_->update();
}

void TStage::fitScale()
{
    fitPending_ = false;
    if (!scalesWithWindow_ || !windowHandle())
        return;
    const QSize device = platform::windowDevicePixels(windowHandle());
    if (!device.isEmpty())
        scaleTo(platform::fitFactor(device, board_->size()));
    keepMinimumSize(); // also for the first show, before any change of scale
    showPictureLayer();
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
    // The whole logical pixel nearest the picture's place in the display's.
    const double f = platform::windowScale(windowHandle());
    const QRect target = pictureTarget();
    board_->move(qRound(target.x() / f), qRound(target.y() / f));
}

void TStage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    showPictureLayer();
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
    if (std::any_of(forms.begin(), forms.end(), [this](const QWidget *w) {
            return w->isVisible() && w->geometry().contains(board_->rect());
        }))
        fill -= board_->geometry();
    QPainter p(this);
    for (const QRect &r : fill)
        p.fillRect(r, StageBorderColour);
}

void TStage::closeEvent(QCloseEvent *event)
{
    // The window manager's close is the main form's close, with its question;
    // while a dialog is open it waits, as the dialog's owner would.
    TForm *top = topForm();
    if (!top) {
        event->accept(); // the main form has closed: the game is ending
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
