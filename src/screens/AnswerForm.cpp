#include "screens/AnswerForm.h"

#include "platform/Codepage.h"
#include "platform/Sounds.h"
#include "widgets/Cursors.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cctype>
#include <vector>

namespace {

void styleButton(TFlatButtonBase *b)
{
    b->setColorFace(zw::clPanel);
    b->setColorFocused(zw::clFocus);
    b->setColorDown(zw::clPanel);
    b->setColorBorder(zw::clGray);
    b->setColorHighLight(zw::clBlack);
}

// Plain text of an RTF image: paragraphs, line breaks, tabs and
// Windows-1251 characters; other groups' destinations are left out.
QString plainFromRtf(const QByteArray &rtf)
{
    if (!rtf.startsWith("{\\rtf"))
        return platform::fromCp1251(rtf);
    QString out;
    QByteArray pending;  // Windows-1251 bytes not yet decoded
    auto flush = [&] {
        out += platform::fromCp1251(pending);
        pending.clear();
    };
    std::vector<bool> skip{false};
    int ucSkip = 1;
    int toSkip = 0;
    const int n = int(rtf.size());
    for (int i = 0; i < n;) {
        const char c = rtf[i];
        if (c == '{') {
            if (skip.size() > 256)
                break;
            skip.push_back(skip.back());
            ++i;
        } else if (c == '}') {
            if (skip.size() > 1)
                skip.pop_back();
            ++i;
        } else if (c == '\\' && i + 1 < n) {
            const char d = rtf[i + 1];
            if (d == '\'' && i + 3 < n) {
                if (toSkip > 0) {
                    --toSkip;
                } else if (!skip.back()) {
                    pending.append(char(QByteArray(rtf.constData() + i + 2, 2).toInt(nullptr, 16)));
                }
                i += 4;
            } else if (d == '*') {
                skip.back() = true;
                i += 2;
            } else if (std::isalpha(static_cast<unsigned char>(d))) {
                int j = i + 1;
                while (j < n && std::isalpha(static_cast<unsigned char>(rtf[j])))
                    ++j;
                const QByteArray word = rtf.mid(i + 1, j - i - 1);
                int k = j;
                if (k < n && (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k])))) {
                    ++k;
                    while (k < n && std::isdigit(static_cast<unsigned char>(rtf[k])))
                        ++k;
                }
                const int param = rtf.mid(j, k - j).toInt();
                if (k < n && rtf[k] == ' ')
                    ++k;
                i = k;
                if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info" ||
                    word == "pict") {
                    skip.back() = true;
                } else if (!skip.back()) {
                    if (word == "par" || word == "line") {
                        flush();
                        out += QLatin1Char('\n');
                    } else if (word == "tab") {
                        flush();
                        out += QLatin1Char('\t');
                    } else if (word == "uc") {
                        ucSkip = param;
                    } else if (word == "u") {
                        flush();
                        out += QChar(char16_t(param < 0 ? param + 65536 : param));
                        toSkip = ucSkip;
                    }
                }
            } else {
                if (!skip.back() && (d == '\\' || d == '{' || d == '}'))
                    pending.append(d);
                i += 2;
            }
        } else {
            if (c != '\r' && c != '\n' && !skip.back()) {
                if (toSkip > 0)
                    --toSkip;
                else
                    pending.append(c);
            }
            ++i;
        }
    }
    flush();
    if (out.endsWith(QLatin1Char('\n')))
        out.chop(1);
    return out;
}

}  // namespace

TAnswerForm::TAnswerForm(QWidget *owner, const QByteArray &solutionText)
    : TForm(owner), solution_(solutionText)
{
    setObjectName(QStringLiteral("AnswerForm"));
    setKeyPreview(true);
    setColor(zw::clPanel);
    setClientSize(425, 415);
    setCloseAction(CloseAction::Free);
    // The game's arrow while the viewer is open, on its own window only.
    setCursor(zw::arrowCursor());

    Shape1 = new TShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(8, 8, 409, 375);
    Shape1->setPenColor(zw::clGray);

    // Created in tab order: OkButton, Focus, AnswerText.
    OkButton = new TFlatButton(this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(272, 382, 97, 25);
    OkButton->setText(QStringLiteral("OK"));
    OkButton->setModalResult(mrOk);
    styleButton(OkButton);
    OkButton->setFont(zw::gameFont(11));
    connect(OkButton, &QAbstractButton::clicked, this, &TAnswerForm::OkButtonClick);

    Focus = new QPushButton(QStringLiteral("Это глюк!!!"), this);
    Focus->setObjectName(QStringLiteral("Focus"));
    Focus->setGeometry(184, 392, 0, 17);
    Focus->setAutoDefault(false);
    Focus->setFocusPolicy(Qt::StrongFocus);

    AnswerText = new QTextEdit(this);
    AnswerText->setObjectName(QStringLiteral("AnswerText"));
    AnswerText->setGeometry(9, 9, 407, 373);
    AnswerText->setFrameStyle(QFrame::NoFrame);
    AnswerText->setReadOnly(true);
    AnswerText->setLineWrapMode(QTextEdit::WidgetWidth);
    AnswerText->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    AnswerText->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    AnswerText->setTextInteractionFlags(Qt::NoTextInteraction);
    AnswerText->viewport()->setCursor(zw::arrowCursor());
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
    ZoomOutBtn->setHint(QStringLiteral("Уменьшить шрифт"));
    styleButton(ZoomOutBtn);
    ZoomOutBtn->setFont(zw::gameFont(16));
    connect(ZoomOutBtn, &QAbstractButton::clicked, this, &TAnswerForm::ZoomOutBtnClick);

    ZoomInBtn = new TFlatSpeedButton(this);
    ZoomInBtn->setObjectName(QStringLiteral("ZoomInBtn"));
    ZoomInBtn->setGeometry(392, 382, 25, 25);
    ZoomInBtn->setText(QStringLiteral("+"));
    ZoomInBtn->setHint(QStringLiteral("Увеличить шрифт"));
    styleButton(ZoomInBtn);
    ZoomInBtn->setFont(zw::gameFont(16));
    connect(ZoomInBtn, &QAbstractButton::clicked, this, &TAnswerForm::ZoomInBtnClick);

    connect(AnswerText, &QTextEdit::textChanged, this, &TAnswerForm::AnswerTextChange);
}

void TAnswerForm::FormShow()
{
    AnswerText->setPlainText(plainFromRtf(solution_));
    AnswerTextChange();
    Focus->setFocus(Qt::OtherFocusReason);
}

void TAnswerForm::AnswerTextChange()
{
    if (formatting_)
        return;
    formatting_ = true;
    QTextDocument *doc = AnswerText->document();
    const qreal pxPerPt = AnswerText->logicalDpiX() / 72.0;
    QTextCursor all(doc);
    all.select(QTextCursor::Document);
    QTextCharFormat chars;
    chars.setFontFamilies({QStringLiteral("Comic Sans MS")});
    chars.setFontPointSize(zoomPointSize());
    all.mergeCharFormat(chars);
    QTextBlockFormat blocks;
    blocks.setAlignment(Qt::AlignJustify);
    // First lines 25 points from the left edge, the others 2 points; 2 points on the right.
    blocks.setLeftMargin(2 * pxPerPt);
    blocks.setTextIndent(23 * pxPerPt);
    blocks.setRightMargin(2 * pxPerPt);
    all.mergeBlockFormat(blocks);
    // Only the font of the document's default changes too, so empty text shows the same size.
    QFont base = doc->defaultFont();
    base.setFamilies({QStringLiteral("Comic Sans MS")});
    base.setPointSize(zoomPointSize());
    doc->setDefaultFont(base);
    QTextCursor start(doc);
    AnswerText->setTextCursor(start);
    formatting_ = false;
}

void TAnswerForm::SetZoom(int step)
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

void TAnswerForm::ZoomOutBtnClick()
{
    platform::PlayClick();
    SetZoom(ZoomStep - 1);
}

void TAnswerForm::ZoomInBtnClick()
{
    platform::PlayClick();
    SetZoom(ZoomStep + 1);
}

void TAnswerForm::OkButtonClick()
{
    platform::PlayClick();
}

bool TAnswerForm::FormKeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape)
        OkButton->Click();
    return false;
}

void TAnswerForm::FormClose(CloseAction &action)
{
    action = CloseAction::Free;
}

void TAnswerForm::ScrollLines(int lines)
{
    QScrollBar *bar = AnswerText->verticalScrollBar();
    QTextDocument *doc = AnswerText->document();
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    // Collect the tops of the display lines, in document coordinates.
    std::vector<int> tops;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QRectF br = layout->blockBoundingRect(b);
        const QTextLayout *tl = b.layout();
        for (int i = 0; i < tl->lineCount(); ++i)
            tops.push_back(int(br.top() + tl->lineAt(i).y()));
    }
    if (tops.empty())
        return;
    const int current = bar->value();
    int index = 0;
    while (index + 1 < int(tops.size()) && tops[std::size_t(index + 1)] <= current)
        ++index;
    if (lines < 0 && tops[std::size_t(index)] < current)
        ++index;  // partly scrolled line: one notch up shows its top
    const int target = std::clamp(index + lines, 0, int(tops.size()) - 1);
    bar->setValue(tops[std::size_t(target)]);
}

bool TAnswerForm::handleWheel(QWheelEvent *event)
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

void TAnswerForm::wheelEvent(QWheelEvent *event)
{
    handleWheel(event);
}

bool TAnswerForm::eventFilter(QObject *watched, QEvent *event)
{
    // The filter sees the application's events from the base constructor on,
    // before the controls exist.
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
