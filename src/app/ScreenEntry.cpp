#include "app/ScreenEntry.h"

#include "core/User.h"
#include "platform/Registry.h"
#include "screens/GameForm.h"
#include "screens/MessageBoxForm.h"
#include "screens/ProblemsForm.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <memory>

namespace app {

int runScreen(const QString &screen, const QString &playerName)
{
    const bool ownBox = MessageBoxForm == nullptr;
    if (ownBox)
        MessageBoxForm = new TMessageBoxForm;
    int code = 0;
    if (screen == QLatin1String("collection")) {
        auto *form = new TProblemsForm;
        form->ShowModal();
    } else {
        std::unique_ptr<TUser> player;
        const QString name = playerName.trimmed();
        try {
            const QString key = TUser::PlayerPath(name);
            if (platform::Registry::user().keyExists(key))
                player = TUser::CreateFromRegistry(key);
            else
                player = TUser::CreateNew(name, 1);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "zentrika: %s\n", e.what());
            code = 1;
        }
        if (player) {
            auto *form = new TGameForm(*player);
            form->ShowModal();
            // The closed screen frees itself before its player goes.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    if (ownBox) {
        delete MessageBoxForm;
        MessageBoxForm = nullptr;
    }
    return code;
}

}  // namespace app
