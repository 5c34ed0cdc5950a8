#include "screens/AboutForm.h"

#include "platform/desktop/Shell.h"

#include <QDate>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>

namespace
{

constexpr zw::ColorValue clAboutYellow = 129023; // RGB(255, 247, 1)
constexpr zw::ColorValue clYellow = zw::rgbValue(255, 255, 0);
constexpr zw::ColorValue clBlue = zw::rgbValue(0, 0, 255);

QFont arial(int pixels, bool underline = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setUnderline(underline);
    return f;
}

const QString kWebLine = QStringLiteral("Сайт: ");
const QString kMailLine = QStringLiteral("Почта: ");

} // namespace

// Outside any namespace: the macro declares the resource's global initialiser.
static void initAboutResources()
{
    Q_INIT_RESOURCE(about);
}

QString TAboutForm::greetingText()
{
    const QString indent = QStringLiteral("    ");
    QStringList lines;
    lines << QStringLiteral("Программа разработана компанией %1.").arg(Maker) << QString();
    // One line each for the first and last paragraph, so that the whole
    // greeting stays inside the frame.
    lines << indent +
                 QStringLiteral(
                     "Мы хотели создать универсальное развлечение, одинаково интересное детям и взрослым.");
    lines << indent +
                 QStringLiteral("Помня о юных игроках, мы с особой заботой рисовали иллюстрации, продумывали "
                                "оформление и делали интерфейс простым и понятным.");
    lines << indent + QStringLiteral(
                          "Желаем вам приятно провести время за головоломками, собранными со всего света.");
    lines << QString();
    lines << QStringLiteral("Наши адреса в Интернет:") << kWebLine << kMailLine << QString();
    lines << QStringLiteral("С наилучшими пожеланиями,");
    lines << QStringLiteral("команда %1, %2").arg(Maker).arg(2026);
    return lines.join(QLatin1Char('\n'));
}

TAboutForm::TAboutForm(QWidget *owner, ShellOpener opener)
    : TForm(owner)
      // A target that cannot be opened does nothing visible.
      ,
      opener_(opener ? std::move(opener) : ShellOpener([](const QString &t) { platform::ShellOpen(t); }))
{
    initAboutResources();
    setObjectName(QStringLiteral("AboutForm"));
    setKeyPreview(true);
    setColor(clAboutYellow);
    setClientSize(560, 484);
    setCloseAction(CloseAction::Free);
    setCursor(Qt::ArrowCursor);

    Image1 = new TPictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(78, 12, 409, 225);
    Image1->setPicture(QImage(QStringLiteral(":/zentrika/About.png")).convertToFormat(QImage::Format_RGB888));

    Frame = new TShape(this);
    Frame->setObjectName(QStringLiteral("Shape1"));
    Frame->setGeometry(8, 8, 544, 468);
    Frame->setPenColor(zw::clBlack);
    Frame->setBrushColor(std::nullopt);

    Greeting = new TLabel(this);
    Greeting->setObjectName(QStringLiteral("Label1"));
    Greeting->setFont(arial(11));
    Greeting->setAutoSize(false);
    Greeting->setWordWrap(true);
    Greeting->setGeometry(19, 252, 513, 225);
    Greeting->setCaption(greetingText());
    Greeting->setGeometry(19, 252, 513, 225);

    auto link = [this](const char *name, const QString &text) {
        auto *l = new TLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setFont(arial(11, true));
        l->setTextColor(clBlue);
        l->setCaption(text);
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        return l;
    };
    WebLink = link("Label2", WebAddress);
    MailLink = link("Label3", MailAddress);
    placeLinks();

    OKButton = new TFlatButton(this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(451, 443, 90, 23);
    OKButton->setText(QStringLiteral("OK"));
    OKButton->setFont(zw::gameFont(11));
    OKButton->setColorFace(clAboutYellow);
    OKButton->setColorFocused(clYellow);
    OKButton->setColorDown(zw::clPanel);
    OKButton->setColorBorder(zw::clBlack);
    OKButton->setColorHighLight(zw::clBlack);
    OKButton->setTabStop(true);
    connect(OKButton, &QAbstractButton::clicked, this, &TAboutForm::OKButtonClick);
    OKButton->setFocus();
}

void TAboutForm::placeLinks()
{
    // At the ends of the "Сайт: " and "Почта: " lines, wherever the
    // greeting's wrapping puts them in this font.
    const QFontMetrics fm(Greeting->font());
    const QString text = Greeting->caption();
    auto lineEnd = [&](const QString &line) {
        const qsizetype at = text.indexOf(QLatin1Char('\n') + line + QLatin1Char('\n'));
        const QString before = text.left(at + 1 + line.size());
        const QRect r = fm.boundingRect(QRect(0, 0, Greeting->width(), 10000), Qt::TextWordWrap, before);
        return QPoint(Greeting->x() + fm.horizontalAdvance(line), Greeting->y() + r.height() - fm.height());
    };
    WebLink->move(lineEnd(kWebLine));
    MailLink->move(lineEnd(kMailLine));
}

bool TAboutForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == WebLink) {
            Label2Click();
            return true;
        }
        if (watched == MailLink) {
            Label3Click();
            return true;
        }
    }
    return TForm::eventFilter(watched, event);
}

void TAboutForm::Label2Click()
{
    opener_(WebAddress);
}

void TAboutForm::Label3Click()
{
    opener_(QStringLiteral("mailto:") + MailAddress);
}

void TAboutForm::OKButtonClick()
{
    close();
}

bool TAboutForm::FormKeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return false;
}

void TAboutForm::FormClose(CloseAction &action)
{
    action = CloseAction::Free;
}
