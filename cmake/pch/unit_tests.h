// Precompiled for the unit tests: GoogleTest and Qt without widgets.
#include "qt_core.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
