#include "app/MainMenuRun.h"

#include "app/Diagnostics.h"
#include "app/FirstPaint.h"
#include "app/GameDisplay.h"
#include "app/GameSession.h"
#include "app/Options.h"
#include "app/StoreGuard.h"
#include "platform/desktop/ApplicationEvents.h"
#include "platform/desktop/GameApplication.h"
#include "platform/desktop/OutputSize.h"
#include "platform/desktop/SdlSoundPlayer.h"
#include "screens/GameContext.h"
#include "screens/MainForm.h"
#include "screens/MessageBoxForm.h"

#include <QPointer>
#include <QScopeGuard>
#include <QTimer>

namespace app
{

int runMainMenu(platform::GameApplication &application, GameContext &context, GameSession &session,
                GameDisplay &screen, StoreGuard &storeGuard, const Options &options,
                platform::SdlSoundPlayer &player)
{
    auto mainForm = std::make_unique<TMainForm>(context);
    mainForm->setDisplayModes(session.display());
    // The main menu hides when it closes; the program ends with it.
    QObject::connect(mainForm.get(), &TMainForm::closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    markStep("main form");
    // What the menu needs only once a player can act on it: the player store
    // (checked, recovered if damaged, and opened) and the game's one message
    // box. Both wait until the start screen is on the screen, so that neither
    // holds up the first picture; nothing reads the store or shows a message
    // before a player's action on a painted screen.
    std::unique_ptr<TMessageBoxForm> messageBox;
    const auto forgetMessageBox = qScopeGuard([&context] { context.messages = nullptr; });
    auto afterFirstPicture = [&messageBox, &storeGuard, &context] {
        if (messageBox)
            return;
        storeGuard.openStore();
        markStep("player store");
        messageBox.reset(new TMessageBoxForm(&context.media, nullptr, context.sounds));
        messageBox->setStage(context.stage);
        context.messages = messageBox.get();
        markStep("message box");
        // Its own turn: a notice is modal, and the caller has more to do first.
        QTimer::singleShot(0, &storeGuard,
                           [&storeGuard, box = messageBox.get()] { storeGuard.showNotice(*box); });
    };
    // A main form that is never painted (started minimised) still gets them.
    QTimer::singleShot(1000, mainForm.get(), afterFirstPicture);
    if (!screen.stage())
        platform::keepCentredOnScreen(mainForm.get());

    const bool exitAfterPaint = qEnvironmentVariableIntValue("ZENTRIKA_EXIT_AFTER_FIRST_PAINT") != 0;
    new FirstPaint(mainForm.get(), [&session, &options, &player, &screen, &context, exitAfterPaint,
                                    afterFirstPicture, form = QPointer<QWidget>(mainForm.get())] {
        markStep("first paint");
        if (exitAfterPaint)
            printFirstPaint();
        player.openInBackground();
        afterFirstPicture();
        if (options.diagnostics)
            printDiagnostics(session, screen, player, context.messages != nullptr, form);
        // exit(), not quit(): quit() asks the main menu to close, and the
        // menu answers with its quit question, which nobody is there to answer.
        if (exitAfterPaint)
            QCoreApplication::exit(0);
    });
    mainForm->show();
    screen.show();
    return application.exec();
}

} // namespace app
