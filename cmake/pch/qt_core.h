// Precompiled for the libraries without widgets: Qt Core and Gui, the standard
// library. No Qt Widgets header, so that the layer check still sees any.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
