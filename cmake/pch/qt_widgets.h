// Precompiled for the libraries with widgets and what links them.
#include "qt_core.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
