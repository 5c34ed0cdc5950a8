#pragma once
// The solution viewer: shows a puzzle's written solution in the game's font at
// one of five sizes, with buttons that make the text smaller or larger.
#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/Shape.h"

#include <QByteArray>
#include <array>
#include <cstdint>

class QPushButton;
namespace platform
{
class Sounds;
}
class RichTextView;

class TSolutionForm : public TForm
{
    Q_OBJECT
  public:
    // Point sizes by zoom step 1..5.
    static constexpr std::array<int, 5> ZoomSizes{7, 8, 10, 11, 13};
    static constexpr int OpeningStep = 3;

    // sounds: what clicks its buttons; null is silence.
    TSolutionForm(QWidget *owner, const QByteArray &solutionText, const platform::Sounds *sounds = nullptr);

    TShape *OuterFrame = nullptr;
    RichTextView *AnswerText = nullptr;
    TFlatButton *OkButton = nullptr;
    TFlatSpeedButton *ZoomOutBtn = nullptr;
    TFlatSpeedButton *ZoomInBtn = nullptr;
    QPushButton *Focus = nullptr;

    std::uint8_t ZoomStep = OpeningStep;
    void SetZoom(int step);
    // The font size of the current step, in points.
    int zoomPointSize() const { return ZoomSizes[std::size_t(ZoomStep - 1)]; }

    // Scrolls the text by whole display lines (negative: up).
    void ScrollLines(int lines);

  protected:
    void FormShow() override;
    bool FormKeyDown(QKeyEvent *event) override;
    void FormClose(CloseAction &action) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

  private:
    const platform::Sounds *sounds_;
    void AnswerTextChange();
    void OkButtonClick();
    void ZoomOutBtnClick();
    void ZoomInBtnClick();
    bool handleWheel(QWheelEvent *event);

    QByteArray solution_;
    int wheelRemainder_ = 0;
};
