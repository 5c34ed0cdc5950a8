#include "screens/SolutionForm.h"

#include "controls/RichEditEx.h"
#include "platform/Sounds.h"
#include "widgets/RichTextView.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <algorithm>

namespace
{

void styleButton(TFlatButtonBase *b)
{
    b->setColorFace(zw::clPanel);
    b->setColorFocused(zw::clFocus);
    b->setColorDown(zw::clPanel);
    b->setColorBorder(zw::clGray);
    b->setColorHighLight(zw::clBlack);
}

} // namespace

TSolutionForm::TSolutionForm(QWidget *owner, const QByteArray &solutionText, const platform::Sounds *sounds)
    : TForm(owner), sounds_(sounds), solution_(solutionText)
{
    setObjectName(QStringLiteral("AnswerForm"));
    setKeyPreview(true);
    setColor(zw::clPanel);
    setClientSize(425, 415);
    setCloseAction(CloseAction::Free);
    // The game's arrow while the viewer is open, on its own window only.
    setCursor(Qt::ArrowCursor);

    OuterFrame = new TShape(this);
    OuterFrame->setObjectName(QStringLiteral("Shape1"));
    OuterFrame->setGeometry(8, 8, 409, 375);
    OuterFrame->setPenColor(zw::clGray);

    // Created in tab order: OkButton, Focus, AnswerText.
    OkButton = new TFlatButton(this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(272, 382, 97, 25);
    OkButton->setText(QStringLiteral("OK"));
    OkButton->setModalResult(mrOk);
    styleButton(OkButton);
    OkButton->setFont(zw::gameFont(11));
    connect(OkButton, &QAbstractButton::clicked, this, &TSolutionForm::OkButtonClick);

    Focus = new QPushButton(QStringLiteral("Это глюк!!!"), this);
    Focus->setObjectName(QStringLiteral("Focus"));
    Focus->setGeometry(184, 392, 0, 17);
    Focus->setAutoDefault(false);
    Focus->setFocusPolicy(Qt::StrongFocus);

    AnswerText = new RichTextView(this);
    AnswerText->setObjectName(QStringLiteral("AnswerText"));
    AnswerText->setAccessibleName(QStringLiteral("Ответ"));
    AnswerText->setGeometry(9, 9, 407, 373);
    AnswerText->setFrameStyle(QFrame::NoFrame);
    AnswerText->setReadOnly(true);
    AnswerText->setLineWrapMode(QTextEdit::WidgetWidth);
    AnswerText->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    AnswerText->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    AnswerText->setTextInteractionFlags(Qt::NoTextInteraction);
    AnswerText->viewport()->setCursor(Qt::ArrowCursor);
    AnswerText->installEventFilter(this);
    AnswerText->viewport()->installEventFilter(this);
    QPalette pal = AnswerText->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    AnswerText->setPalette(pal);

    ZoomOutBtn = new TFlatSpeedButton(this);
    ZoomOutBtn->setObjectName(QStringLiteral("ZoomOutBtn"));
    ZoomOutBtn->setGeometry(368, 382, 25, 25);
    ZoomOutBtn->setText(QStringLiteral("-"));
    ZoomOutBtn->setHint(TRichEditEx::ZoomOutHint());
    styleButton(ZoomOutBtn);
    ZoomOutBtn->setFont(zw::gameFont(16));
    connect(ZoomOutBtn, &QAbstractButton::clicked, this, &TSolutionForm::ZoomOutBtnClick);

    ZoomInBtn = new TFlatSpeedButton(this);
    ZoomInBtn->setObjectName(QStringLiteral("ZoomInBtn"));
    ZoomInBtn->setGeometry(392, 382, 25, 25);
    ZoomInBtn->setText(QStringLiteral("+"));
    ZoomInBtn->setHint(TRichEditEx::ZoomInHint());
    styleButton(ZoomInBtn);
    ZoomInBtn->setFont(zw::gameFont(16));
    connect(ZoomInBtn, &QAbstractButton::clicked, this, &TSolutionForm::ZoomInBtnClick);

    connect(AnswerText, &RichTextView::contentReplaced, this, &TSolutionForm::AnswerTextChange);
}

void TSolutionForm::FormShow()
{
    AnswerText->setRtf(solution_); // reports the change, which formats the text
    Focus->setFocus(Qt::OtherFocusReason);
}

void TSolutionForm::AnswerTextChange()
{
    // Only face, size, alignment and indents change; colours, bold and italics stay.
    RichTextView::Format format;
    format.face = QStringLiteral("Comic Sans MS");
    format.pointSize = zoomPointSize();
    format.alignment = Qt::AlignJustify;
    format.startIndent = 25; // first lines 25 points from the left edge
    format.offset = -23;     // the others 2 points from it
    format.rightIndent = 2;
    AnswerText->formatAll(format);
}

void TSolutionForm::SetZoom(int step)
{
    ZoomOutBtn->setEnabled(true);
    ZoomInBtn->setEnabled(true);
    if (step >= 5)
        ZoomInBtn->setEnabled(false);
    if (step <= 1)
        ZoomOutBtn->setEnabled(false);
    ZoomStep = std::uint8_t(std::clamp(step, 1, 5));
    AnswerTextChange();
}

void TSolutionForm::ZoomOutBtnClick()
{
    platform::PlayClick(sounds_);
    SetZoom(ZoomStep - 1);
}

void TSolutionForm::ZoomInBtnClick()
{
    platform::PlayClick(sounds_);
    SetZoom(ZoomStep + 1);
}

void TSolutionForm::OkButtonClick()
{
    platform::PlayClick(sounds_);
}

bool TSolutionForm::FormKeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape)
        OkButton->Click();
    return false;
}

void TSolutionForm::FormClose(CloseAction &action)
{
    action = CloseAction::Free;
}

void TSolutionForm::ScrollLines(int lines)
{
    AnswerText->scrollToLine(AnswerText->firstVisibleLine() + lines);
}

bool TSolutionForm::handleWheel(QWheelEvent *event)
{
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= 120) {
        ScrollLines(-1);
        wheelRemainder_ -= 120;
    }
    while (wheelRemainder_ <= -120) {
        ScrollLines(1);
        wheelRemainder_ += 120;
    }
    event->accept();
    return true;
}

void TSolutionForm::wheelEvent(QWheelEvent *event)
{
    handleWheel(event);
}

bool TSolutionForm::eventFilter(QObject *watched, QEvent *event)
{
    if (!AnswerText || !Focus)
        return TForm::eventFilter(watched, event);
    if (watched == AnswerText && event->type() == QEvent::FocusIn) {
        // The text never keeps the focus, so it shows no caret.
        Focus->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if ((watched == AnswerText || watched == AnswerText->viewport()) && event->type() == QEvent::Wheel)
        return handleWheel(static_cast<QWheelEvent *>(event));
    return TForm::eventFilter(watched, event);
}
