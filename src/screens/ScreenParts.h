#pragma once
// Small pieces both puzzle screens are built from: pictures from the media
// library, a rectangle filled with a tiled bitmap, a button with an optional
// picture, and the generic error report.
#include "widgets/FlatButton.h"

#include <QImage>
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

}  // namespace screens

// A rectangle without outline whose brush is a bitmap, tiled from its top-left.
class TTiledShape : public QWidget {
    Q_OBJECT
public:
    explicit TTiledShape(QWidget *parent = nullptr);
    void setTile(const QImage &tile);
    const QImage &tile() const { return tile_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage tile_;
};

// A flat button that can carry a picture left of its caption.
class TGlyphButton : public TFlatButton {
    Q_OBJECT
public:
    explicit TGlyphButton(QWidget *parent = nullptr);
    void setGlyph(const QImage &glyph);
    void clearGlyph() { setGlyph(QImage()); }
    const QImage &glyph() const { return glyph_; }
    bool hasGlyph() const { return !glyph_.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage glyph_;
};

class TMessageBoxForm;
namespace screens {
// The game's one message box; made on first use when start-up has not made it.
TMessageBoxForm &Messages();
}  // namespace screens
