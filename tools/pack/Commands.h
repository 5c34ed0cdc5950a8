#pragma once
// The commands of zentrika-pack; each takes the arguments after its name and
// returns the exit code.
#include <QStringList>

int runDump(const QStringList &args);
int runList(const QStringList &args);
int runBuild(const QStringList &args);
int runCheck(const QStringList &args);
