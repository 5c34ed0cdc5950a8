// Precompiled for the GUI tests and the documentation's pictures.
#include "qt_widgets.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
