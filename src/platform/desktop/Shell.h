#pragma once
// The shell's "open" verb: a web address in the browser, a mail address in the
// mail program, a file in its application.
#include <QString>

namespace platform
{

bool ShellOpen(const QString &target);

} // namespace platform
