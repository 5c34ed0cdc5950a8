#pragma once
// A terminating signal (SIGTERM, SIGINT, SIGHUP) ends the event loop like a
// closed main form, so that the shutdown still gives the desktop its display
// mode back.
class QObject;

namespace app
{

// The notifier belongs to owner; the handlers stay for the process.
void quitOnSignals(QObject *owner);

} // namespace app
