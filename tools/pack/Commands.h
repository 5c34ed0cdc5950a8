#pragma once
// The commands of zentrika-pack; each takes the arguments after its name and
// returns the exit code.
#include <QStringList>

int runBuild(const QStringList &args);
int runCheck(const QStringList &args);
