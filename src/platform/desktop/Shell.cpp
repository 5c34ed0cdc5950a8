#include "platform/desktop/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform
{

bool ShellOpen(const QString &target)
{
    const QUrl url = QUrl::fromUserInput(target);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace platform
