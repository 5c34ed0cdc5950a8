#include "screens/ScreenParts.h"

#include "core/Errors.h"
#include "platform/ResourceLibrary.h"
#include "platform/desktop/GameApplication.h"
#include "screens/AbstractForm.h"
#include "screens/GameContext.h"
#include "widgets/Colors.h"

namespace screens
{

QImage mediaBitmap(const platform::IResourceLibrary &library, const QString &name)
{
    return library.loadBitmap(name);
}

void ReportError(const QString &message)
{
    platform::reportError(message);
}

void ReportError(const std::exception *error)
{
    if (error)
        platform::reportError(playerMessage(*error), QString::fromUtf8(error->what()));
    else
        platform::reportError(playerMessage(), QStringLiteral("Unknown error"));
}

TFlatPanel *makeTopPanel(QWidget *parent, const char *name, TTiledShape *&image)
{
    auto *panel = new TFlatPanel(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(0, 0, 800, 75);
    panel->setColor(zw::clPanel);
    panel->setColorBorder(zw::clGray);
    image = new TTiledShape(panel);
    image->setObjectName(QStringLiteral("PanelImage"));
    image->setGeometry(0, 0, 800, 75);
    return panel;
}

TShape *makeFrame(QWidget *parent, const char *name, const QRect &r)
{
    auto *s = new TShape(parent);
    s->setObjectName(QLatin1String(name));
    s->setPenColor(zw::clGray);
    s->setBrushColor(std::nullopt);
    s->setGeometry(r);
    return s;
}

TShape *makeFrame(QWidget *parent, const char *name, const QRect &r, const QString &hint)
{
    TShape *s = makeFrame(parent, name, r);
    s->setToolTip(hint);
    s->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    return s;
}

void styleButton(TFlatButton *b, const char *name, const QRect &r, const QString &caption,
                 const QString &hint)
{
    b->setObjectName(QLatin1String(name));
    b->setGeometry(r);
    b->setText(caption);
    b->setFont(zw::gameFont(19));
    b->setToolTip(hint);
    b->setColorFace(zw::clPanel);
    TAbstractForm::MakeTabStop(b);
}

void connectPuzzleButtons(QAbstractButton *back, QAbstractButton *solution, QAbstractButton *decide,
                          const std::function<void()> &onBack, const std::function<void()> &onSolution,
                          const std::function<void()> &onDecide)
{
    QObject::connect(back, &QAbstractButton::clicked, back, onBack);
    QObject::connect(solution, &QAbstractButton::clicked, solution, onSolution);
    QObject::connect(decide, &QAbstractButton::clicked, decide, onDecide);
}

} // namespace screens
