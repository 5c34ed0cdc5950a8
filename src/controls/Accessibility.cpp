#include "controls/Accessibility.h"

#include "controls/FlatListBoxEx.h"
#include "controls/LabelImage.h"
#include "controls/ProblemListAccessible.h"
#include "widgets/FlatControls.h"
#include "widgets/Form.h"
#include "widgets/Label.h"

#include <QAccessibleWidget>

namespace
{

// A painted label: its name is what it shows; its hint, where it has one,
// says what the text is ("Очки" beside a bare number).
class LabelAccessible : public QAccessibleWidget
{
  public:
    explicit LabelAccessible(TLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<TLabel *>(widget())->caption();
        return QAccessibleWidget::text(t);
    }
};

// The gauge: a progress bar from 0 to 100 whose name is the "NN %" it shows.
class GaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
  public:
    explicit GaugeAccessible(TGauge *gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return gauge()->text();
        if (t == QAccessible::Value)
            return gauge()->text();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return gauge()->progress(); }
    void setCurrentValue(const QVariant &) override {} // shows progress; nobody sets it
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

  private:
    TGauge *gauge() const { return static_cast<TGauge *>(widget()); }
};

// The player's logo choice: a picture named after the logo it shows; the
// arrow buttons beside it change it.
class LogoAccessible : public QAccessibleWidget
{
  public:
    explicit LogoAccessible(TLabelImage *image) : QAccessibleWidget(image, QAccessible::Graphic) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<TLabelImage *>(widget())->LabelCaption();
        return QAccessibleWidget::text(t);
    }
};

// The game's windows: the full-screen screens are windows, the smaller ones
// over them dialogs. A dialog where nothing takes the keyboard (the message
// box, the about box) is described by the text it shows, so that a screen
// reader reads it out as it opens instead of a focused control.
class FormAccessible : public QAccessibleWidget
{
  public:
    explicit FormAccessible(TForm *form) : QAccessibleWidget(form, QAccessible::Window) {}
    QAccessible::Role role() const override
    {
        return widget()->width() < 800 ? QAccessible::Dialog : QAccessible::Window;
    }
    QString text(QAccessible::Text t) const override
    {
        QString own = QAccessibleWidget::text(t);
        if (t != QAccessible::Description || !own.isEmpty() || role() != QAccessible::Dialog)
            return own;
        for (const QWidget *child : widget()->findChildren<QWidget *>())
            if (child->isVisible() && (child->focusPolicy() & Qt::TabFocus) && child->width() > 0)
                return own;
        QStringList shown;
        for (const TLabel *label : widget()->findChildren<TLabel *>())
            if (label->isVisible() && !label->caption().trimmed().isEmpty())
                shown << label->caption().simplified();
        return shown.join(QLatin1Char(' '));
    }
};

QAccessibleInterface *gameControls(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("TFlatListBoxEx"))
        return new ProblemListAccessible(static_cast<TFlatListBoxEx *>(object));
    if (className == QLatin1String("TLabel"))
        return new LabelAccessible(static_cast<TLabel *>(object));
    if (className == QLatin1String("TGauge"))
        return new GaugeAccessible(static_cast<TGauge *>(object));
    // A picture is a graphic, named where the screen says what it stands for
    // (the status panel's difficulty and coins).
    if (className == QLatin1String("TPictureBox"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    // A chart: its title is its name, its figures the description.
    if (className == QLatin1String("TChart"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Chart);
    if (className == QLatin1String("TLabelImage"))
        return new LogoAccessible(static_cast<TLabelImage *>(object));
    if (className == QLatin1String("TForm") && static_cast<QWidget *>(object)->isWindow())
        return new FormAccessible(static_cast<TForm *>(object));
    return nullptr;
}

} // namespace

namespace controls
{

void installAccessibility()
{
    // Qt keeps the factories for the whole process; ours goes in once however
    // often this runs.
    QAccessible::removeFactory(gameControls);
    QAccessible::installFactory(gameControls);
}

} // namespace controls
