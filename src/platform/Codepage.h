#pragma once
// Windows-1251 <-> Unicode. Files of the game are Windows-1251; memory is QString.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform {

QString fromCp1251(QByteArrayView bytes);
// Characters without a Windows-1251 code become '?' and clear *ok.
QByteArray toCp1251(const QString &text, bool *ok = nullptr);
bool isCp1251Encodable(const QString &text);

}  // namespace platform
