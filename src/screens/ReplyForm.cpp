#include "screens/ReplyForm.h"

#include "platform/Sounds.h"
#include "screens/Messages.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <cstring>
#include <limits>
#include <vector>

namespace
{

const QString kEnterAnswer = QStringLiteral("Введите свой ответ!");

void styleButton(TFlatButton *b)
{
    b->setParentColor(true);
    b->setColorFocused(zw::clFocus);
    b->setColorDown(zw::clPanel);
    b->setColorBorder(zw::clGray);
    b->setColorHighLight(zw::clBlack);
    b->setFont(zw::gameFont(11));
}

} // namespace

AnswerVerdict TReplyForm::VerdictOf(int modalResult)
{
    switch (modalResult) {
    case mrYes:
        return AnswerVerdict::Right;
    case mrNo:
        return AnswerVerdict::Wrong;
    default:
        return AnswerVerdict::Cancelled;
    }
}

EnteredAnswer TReplyForm::Run(QWidget *owner, TProblem &problem, const platform::Sounds *sounds,
                              IMessages *messages)
{
    problem.EnsureLoaded();
    // The dialog frees itself later, from the event loop: it is still here when the run returns.
    const QPointer<TReplyForm> form = new TReplyForm(owner, problem, sounds, messages);
    const AnswerVerdict verdict = VerdictOf(form->ShowModal());
    EnteredAnswer entered;
    if (verdict != AnswerVerdict::Cancelled && form) {
        entered.cancelled = false;
        entered.answer = form->answer();
    }
    return entered;
}

TReplyForm::TReplyForm(QWidget *owner, TProblem &problem, const platform::Sounds *sounds, IMessages *messages)
    : TForm(owner), sounds_(sounds), messages_(messages), problem_(problem)
{
    setObjectName(QStringLiteral("QForm"));
    setKeyPreview(true);
    setColor(zw::clPanel);
    setClientSize(376, 185);
    setCloseAction(CloseAction::Free);

    OuterFrame = new TShape(this);
    OuterFrame->setObjectName(QStringLiteral("Shape1"));
    OuterFrame->setGeometry(8, 8, 361, 169);
    OuterFrame->setPenColor(zw::clGray);

    QuestionFrame = new TShape(this);
    QuestionFrame->setObjectName(QStringLiteral("Ramka"));
    QuestionFrame->setGeometry(16, 16, 345, 89);
    QuestionFrame->setPenColor(zw::clGray);
    QuestionFrame->setBrushColor(zw::clPanel);

    QText = new TLabel(this);
    QText->setObjectName(QStringLiteral("QText"));
    QText->setFont(zw::gameFont(16));
    QText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QText->setWordWrap(true);
    QText->setGeometry(30, 18, 319, 21);
    QText->setConstraints(318, 319, 0, 84);

    AnswerCaption = new TLabel(this);
    AnswerCaption->setObjectName(QStringLiteral("Label1"));
    AnswerCaption->setFont(zw::gameFont(13));
    AnswerCaption->move(16, 120);
    AnswerCaption->setCaption(QStringLiteral("Ваш ответ"));

    createEntries();
    createButtons();
    FormCreate();
}

TReplyForm::~TReplyForm() = default;

void TReplyForm::createEntries()
{
    // Created in tab order: Edit, List, TimeEdit.
    Edit = new TRAFlatEdit(this);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->setColorFlat(zw::clWhite);
    Edit->setFont(zw::gameFont(11));
    Edit->setGeometry(88, 120, 97, Edit->height());
    Edit->hide();
    Edit->installEventFilter(this);

    List = new TFlatComboBox(this);
    List->setObjectName(QStringLiteral("List"));
    List->setStyle(TFlatComboBox::Style::DropDownList);
    List->setColor(zw::clWhite);
    List->setColorArrowBackground(zw::clFocus);
    List->setColorBorder(zw::clGray);
    List->setItemHeight(15);
    List->setGeometry(88, 120, 97, 23);
    List->hide();

    TimeFrame = new TShape(this);
    TimeFrame->setObjectName(QStringLiteral("TimeRamka"));
    TimeFrame->setGeometry(88, 120, 61, 25);
    TimeFrame->setPenColor(zw::clGray);
    TimeFrame->hide();

    TimeEdit = new TMyMaskEdit(this);
    TimeEdit->setObjectName(QStringLiteral("TimeEdit"));
    TimeEdit->setFrame(false);
    TimeEdit->setFont(zw::gameFont(11));
    // White all over the frame's inside, the digits clear of its edges.
    TimeEdit->setGeometry(TimeFrame->geometry().adjusted(1, 1, -1, -1));
    TimeEdit->setAlignment(Qt::AlignCenter);
    TimeEdit->hide();
}

void TReplyForm::createButtons()
{
    OkButton = new TFlatButton(this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(297, 148, 65, 22);
    OkButton->setText(QStringLiteral("ОК"));
    OkButton->setModalResult(mrYes);
    styleButton(OkButton);
    connect(OkButton, &QAbstractButton::clicked, this, &TReplyForm::OkButtonClick);

    CancelButton = new TFlatButton(this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(225, 148, 65, 22);
    CancelButton->setText(QStringLiteral("Отмена"));
    styleButton(CancelButton);
    connect(CancelButton, &QAbstractButton::clicked, this, &TReplyForm::CancelButtonClick);

    // Tab reaches the buttons too, left to right after the entry controls: a
    // player on the keyboard alone can cancel or confirm.
    for (TFlatButton *b : {CancelButton, OkButton})
        b->setTabStop(true);
    QWidget::setTabOrder(TimeEdit, CancelButton);
    QWidget::setTabOrder(CancelButton, OkButton);
}

void TReplyForm::FormCreate()
{
    const QStringList &lines = problem_.Lines;
    QText->setCaption(lines.isEmpty() ? QString() : lines.first());
    // A screen reader names each field after its caption and reads the question with it.
    for (QWidget *field :
         {static_cast<QWidget *>(Edit), static_cast<QWidget *>(List), static_cast<QWidget *>(TimeEdit)}) {
        field->setAccessibleName(AnswerCaption->caption());
        field->setAccessibleDescription(QText->caption());
    }
    QText->move(QText->x(), QuestionFrame->y() + (QuestionFrame->height() - QText->height()) / 2);

    switch (problem_.AnswerKind) {
    case AnswerInteger:
        Edit->show();
        digitsOnly_ = true;
        break;
    case AnswerText:
        Edit->show();
        break;
    case AnswerTime:
        TimeEdit->show();
        TimeFrame->show();
        break;
    case AnswerChoice:
        List->show();
        for (int i = 1; i < lines.size(); ++i)
            List->addItemSorted(lines[i]);
        break;
    case AnswerNumbers:
        List->show();
        Edit->show();
        Edit->move(195, Edit->y());
        NumberTexts = std::make_unique<QStringList>();
        for (int i = 1; i < lines.size(); ++i) {
            List->addItemSorted(lines[i]);
            NumberTexts->append(QString());
        }
        connect(List, &QComboBox::activated, this, &TReplyForm::ListChange);
        digitsOnly_ = true;
        // The names stand left of the number box: Tab goes from one to the other.
        QWidget::setTabOrder(List, Edit);
        QWidget::setTabOrder(Edit, CancelButton);
        // The focus starts in the number box: the first name is picked, so
        // that a number typed at once is kept for it.
        if (!NumberTexts->isEmpty())
            List->setCurrentIndex(0);
        break;
    default:
        break;
    }
}

void TReplyForm::FormShow()
{
    // The entry control starts with the focus, ahead of the buttons.
    if (Edit->isVisibleTo(this))
        Edit->setFocus(Qt::OtherFocusReason);
    else if (List->isVisibleTo(this))
        List->setFocus(Qt::OtherFocusReason);
    else if (TimeEdit->isVisibleTo(this))
        TimeEdit->setFocus(Qt::OtherFocusReason);
    else
        OkButton->setFocus(Qt::OtherFocusReason); // not "Отмена", the first tab stop: Enter confirms
}

bool TReplyForm::eventFilter(QObject *watched, QEvent *event)
{
    if (Edit && watched == Edit) {
        if (event->type() == QEvent::KeyPress && digitsOnly_) {
            // Only digits and backspace reach the number edit.
            const auto *key = static_cast<QKeyEvent *>(event);
            const QString t = key->text();
            if (!t.isEmpty() && t.at(0).isPrint() &&
                !(t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9')))
                return true;
        } else if (event->type() == QEvent::FocusOut && NumberTexts) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                EditExit();
        }
        return false;
    }
    return TForm::eventFilter(watched, event);
}

void TReplyForm::ListChange()
{
    if (!Edit->isVisibleTo(this) || !NumberTexts)
        return;
    const int i = List->currentIndex();
    if (i >= 0 && i < NumberTexts->size())
        Edit->setText(NumberTexts->at(i));
    // A name picked from the open list is followed by its number; arrows
    // stepping through the closed list keep the keyboard there.
    if (!List->isStepping())
        Edit->setFocus(Qt::OtherFocusReason);
}

void TReplyForm::EditExit()
{
    const int i = List->currentIndex();
    if (NumberTexts && i >= 0 && i < NumberTexts->size())
        (*NumberTexts)[i] = Edit->text();
}

std::optional<std::int32_t> TReplyForm::StrToInt(const QString &text)
{
    // Leading blanks, an optional sign, then decimal digits only.
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(value);
}

std::optional<double> TReplyForm::StrToTime(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return std::nullopt;
    int values[3];
    for (int k = 0; k < 3; ++k) {
        const QString field = parts[k].trimmed();
        if (field.isEmpty() || field.size() > 2)
            return std::nullopt;
        for (QChar c : field) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        }
        values[k] = field.toInt();
    }
    if (values[0] > 23 || values[1] > 59 || values[2] > 59)
        return std::nullopt;
    return AnswerValue::dayFraction(values[0], values[1], values[2]);
}

bool TReplyForm::refuseNotice(const QString &text)
{
    if (messages_)
        messages_->ShowNotice(text);
    setModalResult(mrNone);
    return false;
}

void TReplyForm::OkButtonClick()
{
    platform::PlayClick(sounds_);
    answer_ = AnswerValue{};
    switch (problem_.AnswerKind) {
    case AnswerInteger: {
        const auto value = StrToInt(Edit->text());
        if (!value) {
            refuseNotice(QStringLiteral("Ответ должен быть целым числом."));
            return;
        }
        answer_ = AnswerValue::fromInteger(*value);
        break;
    }
    case AnswerText: {
        const QString text = Edit->text();
        if (text.isEmpty()) {
            refuseNotice(kEnterAnswer);
            return;
        }
        answer_ = AnswerValue::fromText(text.left(AnswerValue::MaxTextLength));
        break;
    }
    case AnswerTime: {
        const auto value = StrToTime(TimeEdit->Text());
        if (!value) {
            refuseNotice(QStringLiteral("Ответ должен быть временем!"));
            // A click on ОК took the focus; the player goes on typing the time.
            TimeEdit->setFocus(Qt::OtherFocusReason);
            if (TimeEdit->firstIncomplete() >= 0)
                TimeEdit->setCursorPosition(TimeEdit->firstIncomplete());
            return;
        }
        const double d = *value;
        std::memcpy(answer_.bytes.data(), &d, sizeof d);
        break;
    }
    case AnswerChoice: {
        const QString text = List->currentIndex() >= 0 ? List->currentText() : QString();
        if (text.isEmpty()) {
            refuseNotice(kEnterAnswer);
            return;
        }
        answer_ = AnswerValue::fromText(text.left(AnswerValue::MaxTextLength));
        break;
    }
    case AnswerNumbers: {
        const QStringList texts = NumberTexts ? *NumberTexts : QStringList();
        for (int i = 0; i < texts.size(); ++i) {
            if (texts[i].isEmpty()) {
                refuseNotice(QStringLiteral("Введите следующие число."));
                {
                    const QSignalBlocker block(List);
                    List->setCurrentIndex(i);
                }
                Edit->clear();
                Edit->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
        std::vector<std::int32_t> numbers;
        for (const QString &t : texts) {
            const auto value = StrToInt(t);
            if (!value) {
                refuseNotice(QStringLiteral("Все ответы должны быть целыми числами."));
                return;
            }
            numbers.push_back(*value);
        }
        // The record has room for seven numbers; more are never written past its end.
        answer_ = AnswerValue::fromNumbers(numbers);
        break;
    }
    default:
        break;
    }
    // The modal code tells right from wrong; the flow that ran the dialog scores the entry.
    setModalResult(problem_.CheckAnswer(answer_) ? mrYes : mrNo);
}

void TReplyForm::CancelButtonClick()
{
    platform::PlayClick(sounds_);
    close();
}

bool TReplyForm::FormKeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // "Отмена" reached with Tab takes Enter as its own click.
        if (CancelButton->hasFocus()) {
            CancelButton->Click();
            break;
        }
        // A number typed last counts: commit it to its item before the check.
        if (NumberTexts && Edit->hasFocus())
            EditExit();
        OkButton->Click();
        break;
    case Qt::Key_Escape:
        CancelButton->Click();
        break;
    default:
        break;
    }
    return false;
}

void TReplyForm::FormClose(CloseAction &action)
{
    NumberTexts.reset();
    action = CloseAction::Free;
}
