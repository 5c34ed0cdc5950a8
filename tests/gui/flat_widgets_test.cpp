#include "GuiSupport.h"

#include "widgets/FlatButton.h"
#include "widgets/FlatControls.h"
#include "widgets/FlatEdit.h"
#include "widgets/Form.h"
#include "widgets/Label.h"

#include <QLineEdit>

using namespace guitest;

namespace
{

TEST(Colors, ValuesHoldRedInTheLowestByte)
{
    EXPECT_EQ(zw::toQColor(zw::clPanel), QColor(253, 237, 196));
    EXPECT_EQ(zw::toQColor(zw::clFocus), QColor(252, 225, 154));
    EXPECT_EQ(zw::toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(zw::toQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(zw::rgbValue(160, 150, 131), zw::clFlatBorder);
    // A system colour follows the palette.
    EXPECT_EQ(zw::toQColor(zw::systemColor(zw::SysHighlight)),
              QGuiApplication::palette().color(QPalette::Highlight));
}

// A form that records the order in which it and its edit see keys.
class RecordingForm : public TForm
{
  public:
    RecordingForm()
    {
        setKeyPreview(true);
        setClientSize(200, 100);
        edit = new QLineEdit(this);
        edit->setGeometry(10, 10, 100, 20);
        ok = new TFlatButton(this);
        ok->setGeometry(10, 50, 60, 20);
        ok->setModalResult(mrOk);
        QObject::connect(ok, &QAbstractButton::clicked, [this] {
            seenInHandler = modalResult();
            if (refuse)
                setModalResult(mrNone);
        });
        QObject::connect(edit, &QLineEdit::textEdited, [this] { log << QStringLiteral("edit"); });
    }
    bool FormKeyDown(QKeyEvent *e) override
    {
        log << QStringLiteral("form:") + e->text();
        if (e->key() == Qt::Key_Escape)
            setModalResult(mrCancel);
        return e->key() == Qt::Key_X; // consumed: the edit never sees it
    }
    bool FormCloseQuery() override { return allowClose; }

    QLineEdit *edit;
    TFlatButton *ok;
    QStringList log;
    int seenInHandler = -1;
    bool refuse = false;
    bool allowClose = true;
};

TEST(Form, PreviewsEveryKeyOnceBeforeTheControl)
{
    RecordingForm form;
    form.ShowModalAsync();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.edit->setFocus();
    QTest::keyClicks(form.edit, QStringLiteral("ab"));
    QTest::keyClick(form.edit, Qt::Key_X);
    EXPECT_EQ(form.log, (QStringList{"form:a", "edit", "form:b", "edit", "form:x"}));
    EXPECT_EQ(form.edit->text(), QStringLiteral("ab"));
}

TEST(Form, ButtonSetsTheResultBeforeItsHandlerWhichMayTakeItBack)
{
    RecordingForm form;
    int finished = -1;
    QObject::connect(&form, &TForm::modalFinished, [&](int r) { finished = r; });
    form.refuse = true;
    form.ShowModalAsync();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::mouseClick(form.ok, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.seenInHandler, mrOk);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(finished, -1);
    EXPECT_TRUE(form.ok->hasFocus()); // a mouse press takes the focus

    form.refuse = false;
    QTest::mouseClick(form.ok, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, mrOk);
    EXPECT_FALSE(form.isVisible());
}

TEST(Form, ShowModalReturnsTheResultAndAsksBeforeClosing)
{
    RecordingForm form;
    form.allowClose = false;
    whenModal([&](QWidget *w) {
        QTest::keyClick(w, Qt::Key_Escape); // refused by the close query
        QCoreApplication::processEvents();
        EXPECT_TRUE(form.isVisible());
        form.allowClose = true;
        form.close(); // closing gives "cancel"
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_FALSE(form.isVisible());
}

TEST(Form, CentresOnTheScreen)
{
    RecordingForm form;
    form.ShowModalAsync();
    const QRect screen = form.screen()->geometry();
    EXPECT_EQ(form.geometry().center().x(), screen.center().x());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    form.close();
}

TEST(FlatButton, TakesNoTabStopUnlessAsked)
{
    TFlatButton b;
    EXPECT_EQ(b.focusPolicy(), Qt::ClickFocus);
    b.setTabStop(true);
    EXPECT_EQ(b.focusPolicy(), Qt::StrongFocus);
    TFlatSpeedButton s;
    s.setHint(QStringLiteral("Увеличить шрифт"));
    EXPECT_EQ(s.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(s.toolTip(), QStringLiteral("Увеличить шрифт"));
    EXPECT_EQ(s.cursor().shape(), Qt::PointingHandCursor);
}

TEST(FlatButton, DisabledButtonDoesNotClick)
{
    TFlatButton b;
    b.resize(60, 20);
    int clicks = 0;
    QObject::connect(&b, &QAbstractButton::clicked, [&] { ++clicks; });
    b.setEnabled(false);
    QTest::mouseClick(&b, Qt::LeftButton);
    b.Click();
    EXPECT_EQ(clicks, 0);
}

TEST(FlatEdit, HeightFollowsTheFontAndColoursFollowTheFocus)
{
    QWidget host;
    auto *edit = new TFlatEdit(&host);
    auto *other = new QLineEdit(&host);
    other->move(0, 40);
    edit->setFont(zw::gameFont(20));
    EXPECT_EQ(edit->height(), QFontMetrics(zw::gameFont(20)).height() + 6);
    edit->setColorFlat(zw::clPanel);
    edit->setColorFocused(zw::clWhite);
    host.resize(300, 100);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    QEvent leave(QEvent::Leave); // the pointer away from the edit
    QApplication::sendEvent(edit, &leave);
    other->setFocus();
    EXPECT_EQ(edit->currentBackground(), zw::toQColor(zw::clPanel));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(edit, &enter);
    EXPECT_EQ(edit->currentBackground(), QColor(Qt::white)); // under the pointer
    QApplication::sendEvent(edit, &leave);
    edit->setFocus();
    EXPECT_EQ(edit->currentBackground(), QColor(Qt::white));
    EXPECT_EQ(edit->grab().toImage().pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(edit->grab().toImage().pixelColor(0, 0), zw::toQColor(zw::clFlatBorder));
}

TEST(FlatComboBox, KeepsItemsSortedAndStartsUnpicked)
{
    TFlatComboBox box;
    box.setSorted(true);
    for (const char *name : {"Вася", "Аня", "Петя", "Борис"})
        box.addItemSorted(QString::fromUtf8(name));
    EXPECT_EQ(box.items(), (QStringList{"Аня", "Борис", "Вася", "Петя"}));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_TRUE(box.text().isEmpty());

    box.setStyle(TFlatComboBox::Style::Simple);
    box.setMaxLength(14);
    box.setItems({});
    box.resize(161, 21);
    typeText(box.lineEdit(), QStringLiteral("Очень длинное имя игрока"));
    EXPECT_EQ(box.text(), QStringLiteral("Очень длинное "));
    box.setStyle(TFlatComboBox::Style::DropDownList);
    EXPECT_FALSE(box.isEditable());
}

TEST(Gauge, ShowsThePercentageWithinRange)
{
    TGauge g;
    g.setProgress(25);
    EXPECT_EQ(g.text(), QStringLiteral("25 %"));
    g.setProgress(140);
    EXPECT_EQ(g.progress(), 100);
    g.setProgress(-3);
    EXPECT_EQ(g.text(), QStringLiteral("0 %"));
}

TEST(GradientButton, FadesToItsHoverColoursAndBack)
{
    TGradientButton b;
    b.resize(249, 41);
    b.setText(QStringLiteral("Новая игра"));
    b.setGradient(zw::clWhite, zw::clWhite);
    b.setHotGradient(zw::clFocus, zw::clFocus);
    b.setFadeTime(0);
    int entered = 0, left = 0;
    QObject::connect(&b, &TGradientButton::mouseEntered, [&] { ++entered; });
    QObject::connect(&b, &TGradientButton::mouseLeft, [&] { ++left; });
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&b, &enter);
    EXPECT_EQ(b.hotLevel(), 1.0);
    EXPECT_EQ(b.grab().toImage().pixelColor(20, 20), zw::toQColor(zw::clFocus));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    EXPECT_EQ(b.hotLevel(), 0.0);
    EXPECT_EQ(b.grab().toImage().pixelColor(20, 20), QColor(Qt::white));
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);

    b.setFadeTime(100);
    QApplication::sendEvent(&b, &enter);
    EXPECT_LT(b.hotLevel(), 1.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return b.hotLevel() == 1.0; }, 2000));
}

TEST(Label, SizesToItsTextOrWrapsToItsWidth)
{
    TLabel one;
    one.setFont(zw::gameFont(13));
    one.setCaption(QStringLiteral("Поздравляем с победой!"));
    const QFontMetrics fm(one.font());
    EXPECT_EQ(one.size(), QSize(fm.horizontalAdvance(one.caption()), fm.height()));

    TLabel wrap;
    wrap.setFont(zw::gameFont(16));
    wrap.setWordWrap(true);
    wrap.resize(120, 10);
    wrap.setConstraints(0, 0, 0, 60);
    wrap.setCaption(QStringLiteral("слово слово слово слово слово слово слово слово слово слово"));
    EXPECT_EQ(wrap.width(), 120);
    EXPECT_EQ(wrap.height(), 60); // held at its maximum
    wrap.setCaption(QStringLiteral("слово"));
    EXPECT_EQ(wrap.height(), QFontMetrics(wrap.font()).height());
}

TEST(RadioButton, OnlyOneIsCheckedAndAClickOnTheCheckedOneDoesNothing)
{
    QWidget host;
    auto *a = new TFlatRadioButton(&host);
    auto *b = new TFlatRadioButton(&host);
    a->setGeometry(0, 0, 113, 25);
    b->setGeometry(0, 30, 137, 33);
    a->setChecked(true);
    int toggles = 0;
    QObject::connect(a, &QAbstractButton::toggled, [&] { ++toggles; });
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(toggles, 0);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(b->isChecked());
    EXPECT_FALSE(a->isChecked());
}

// The focused radio button and list show a frame: the radio button's around
// its caption (the circle's tint alone went unseen), the list's also with
// nothing picked.
TEST(FocusFrame, RadioButtonAndListShowWhereTheKeyboardIs)
{
    QWidget host;
    host.resize(300, 100);
    auto *radio = new TFlatRadioButton(&host);
    radio->setGeometry(0, 0, 113, 25);
    radio->setText(QStringLiteral("Новая игра"));
    auto *list = new TFlatComboBox(&host);
    list->setGeometry(0, 40, 97, 23);
    list->setItems({QStringLiteral("Волк"), QStringLiteral("Заяц")});
    auto *other = new QLineEdit(&host);
    other->setGeometry(150, 0, 100, 20);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const struct {
        QWidget *control;
        int captionLeft; // changes left of it do not count
    } cases[] = {{radio, 14}, {list, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.control->metaObject()->className());
        other->setFocus();
        const QImage before = c.control->grab().toImage();
        c.control->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(c.control->hasFocus());
        const QImage after = c.control->grab().toImage();
        int changed = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = c.captionLeft; x < after.width(); ++x)
                changed += before.pixel(x, y) != after.pixel(x, y);
        EXPECT_GT(changed, 20);
    }
}

} // namespace
