// How the puzzle list draws itself: the frame, the arrow strips and each row
// with its pictures.
#include "controls/FlatListBoxEx.h"

#include "core/ProblemListModel.h"
#include "core/User.h"
#include "widgets/Colors.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace
{

int rightEdge(const QRect &r)
{
    return r.x() + r.width();
}

// A 1-pixel frame just inside the rectangle.
void frameRect(QPainter &p, const QRect &r, const QColor &colour)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(r.x(), r.y(), r.width(), 1, colour);
    p.fillRect(r.x(), r.y() + r.height() - 1, r.width(), 1, colour);
    p.fillRect(r.x(), r.y(), 1, r.height(), colour);
    p.fillRect(r.x() + r.width() - 1, r.y(), 1, r.height(), colour);
}

} // namespace

QColor TFlatListBoxEx::textColour() const
{
    return palette().color(foregroundRole());
}

const QImage *TFlatListBoxEx::scaledPicture(const Picture &picture) const
{
    if (picture.source.isNull())
        return nullptr;
    const QSize square(itemHeight_, itemHeight_);
    if (picture.scaled.size() != square) {
        // Stretched once per row height, pixel by pixel like a plain blit would.
        const QImage scaled = picture.source.scaled(square, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        picture.scaled = scaled.convertToFormat(scaled.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                         : QImage::Format_RGB32);
    }
    return &picture.scaled;
}

void TFlatListBoxEx::paintEvent(QPaintEvent *)
{
    // The window's back buffer is the off-screen image: it reaches the screen
    // in one step, so scrolling does not flicker.
    QPainter painter(this);
    DrawList(painter);
}

void TFlatListBoxEx::drawArrow(QPainter &p, bool up, bool active) const
{
    const int cx = width() / 2;
    // Three pixel rows: a 1-pixel tip and a 5-pixel base.
    auto triangle = [&](int dx, int dy, const QColor &colour) {
        for (int d = 0; d <= 2; ++d) {
            const int y = up ? 4 + d : height() - 5 - d;
            p.fillRect(cx - d + dx, y + dy, 2 * d + 1, 1, colour);
        }
    };
    if (active) {
        triangle(0, 0, colorArrow_);
    } else {
        triangle(1, 1, Qt::white);
        triangle(0, 0, QColor(128, 128, 128));
    }
}

void TFlatListBoxEx::DrawList(QPainter &p) const
{
    const QRect client(0, 0, width(), height());
    p.setFont(font());
    p.fillRect(client, colorItemsRect_);
    frameRect(p, client, colorBorder_);

    if (scrollBars_) {
        const QColor stripColour = Color();
        const QRect top(0, 0, client.width(), StripHeight);
        const QRect bottom(0, client.height() - StripHeight, client.width(), StripHeight);
        p.fillRect(top, stripColour);
        frameRect(p, top, colorBorder_);
        p.fillRect(bottom, stripColour);
        frameRect(p, bottom, colorBorder_);
        drawArrow(p, true, UpArrowActive());
        drawArrow(p, false, DownArrowActive());
    }

    const int rows = std::min<int>(visibleRows_, int(rows_.size()));
    const std::vector<QStaticText> &titles = labels();
    const int highlighted = HighlightedIndex();
    for (int k = 0; k < rows; ++k) {
        const int position = topIndex_ + k;
        if (position >= Count())
            break;
        drawRow(p, k, position, titles[std::size_t(position)], position == highlighted);
    }
}

void TFlatListBoxEx::drawRow(QPainter &p, int row, int position, const QStaticText &label,
                             bool highlighted) const
{
    const int h = itemHeight_;
    QRect r = rows_[std::size_t(row)];

    if (gameMode_)
        r.setLeft(r.left() + h + 4);
    if (highlighted) {
        p.fillRect(r, colorItemsSelect_);
        frameRect(p, r, colorBorder_);
    }
    r.adjust(3, 0, -3, 0);

    const int textTop = r.top() + (r.height() - QFontMetrics(p.font()).height()) / 2;
    if (!isEnabled()) {
        p.setClipRect(r.translated(1, 1));
        p.setPen(zw::toQColor(zw::systemColor(zw::SysBtnHighlight)));
        p.drawStaticText(r.left() + 1, textTop + 1, label);
        p.setClipRect(r);
        p.setPen(zw::toQColor(zw::systemColor(zw::SysBtnShadow)));
        p.drawStaticText(r.left(), textTop, label);
        p.setClipping(false);
        return;
    }

    const QColor text = textColour();
    const QColor frame = highlighted ? text : colorBorder_;
    const QRect difficulty(rightEdge(r) - h, r.top(), h, r.height());
    const TProblem *problem = model_->At(position);
    if (const std::optional<Difficulty> grade = problem ? knownDifficulty(problem->Difficult) : std::nullopt)
        if (const QImage *image = scaledPicture(difficultyPictures_[indexOf(*grade)]))
            p.drawImage(difficulty.topLeft(), *image);
    frameRect(p, difficulty, frame);

    if (gameMode_) {
        // Only the game's model has progress to show; the look stays the same without.
        const bool hasProgress = model_->ShowsProgress();
        const LevelEntry progress = hasProgress ? model_->Progress(*problem) : LevelEntry{};
        const QRect count = difficulty.translated(-(h + 4), 0);
        p.fillRect(count, parentBackground());
        frameRect(p, count, frame);
        if (hasProgress) {
            p.setPen(text);
            p.drawText(count, Qt::AlignCenter | Qt::TextSingleLine, QString::number(progress.WrongAnswers));
        }
        const QRect solved(4, r.top(), h, r.height());
        if (const QImage *image = scaledPicture(solvedPictures_[progress.Solved ? 1 : 0]))
            p.drawImage(solved.topLeft(), *image);
        frameRect(p, solved, colorBorder_);
    }

    // A long name runs over the count box and the difficulty picture up to the
    // row's inner edge.
    p.setClipRect(r);
    p.setPen(text);
    p.drawStaticText(r.left(), textTop, label);
    p.setClipping(false);

    // A «★» mark stands left of the difficulty picture, over a long name.
    if (model_->Starred(position)) {
        const QRect star = difficulty.translated(-(h + 2), 0);
        p.fillRect(star, highlighted ? colorItemsSelect_ : Color());
        p.drawText(star, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("★"));
    }
}
