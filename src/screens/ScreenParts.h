#pragma once
// Small pieces both puzzle screens are built from: pictures from the media
// library, the frames and buttons of their layouts, and the generic error report.
#include "widgets/FlatButton.h"
#include "widgets/FlatControls.h"
#include "widgets/Shape.h"
#include "widgets/TiledShape.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <exception>
#include <functional>

namespace screens {

// A bitmap of the media library; platform::EResourceError when it is missing
// (or when no library has been loaded at all).
QImage mediaBitmap(const QString &name);

// The application's generic error report: shows the text, the program goes on.
void ReportError(const QString &message);

// Runs f; an error it raises goes to the generic report instead of on up.
template <typename F>
bool Guarded(F &&f)
{
    try {
        f();
        return true;
    } catch (const std::exception &e) {
        ReportError(QString::fromUtf8(e.what()));
    } catch (...) {
        ReportError(QStringLiteral("Unknown error"));
    }
    return false;
}

// The bar across the top of a puzzle screen and the tiled picture that fills it.
TFlatPanel *makeTopPanel(QWidget *parent, const char *name, TTiledShape *&image);

// A grey frame with no fill around a picture; one with a hint sees the pointer
// so that the hint shows.
TShape *makeFrame(QWidget *parent, const char *name, const QRect &r);
TShape *makeFrame(QWidget *parent, const char *name, const QRect &r, const QString &hint);

// The look every button of the puzzle screens shares; reached with Tab only.
void styleButton(TFlatButton *button, const char *name, const QRect &r, const QString &caption, const QString &hint);

template <typename Button = TFlatButton>
Button *makeButton(QWidget *parent, const char *name, const QRect &r, const QString &caption, const QString &hint)
{
    auto *b = new Button(parent);
    styleButton(b, name, r, caption, hint);
    return b;
}

}  // namespace screens

class TMessageBoxForm;
namespace screens {
// The game's one message box; made on first use when start-up has not made it.
TMessageBoxForm &Messages();
}  // namespace screens
