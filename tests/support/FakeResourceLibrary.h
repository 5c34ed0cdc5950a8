#pragma once
#include "platform/ResourceLibrary.h"

#include <QHash>

namespace platform
{

// An in-memory media library for tests and benchmarks.
class FakeResourceLibrary : public IResourceLibrary
{
  public:
    void addBitmap(const QString &name, const QImage &image) { named_.insert(name.toUpper(), image); }
    void addBitmap(int id, const QImage &image) { numbered_.insert(id, image); }
    void addString(int id, const QString &text) { strings_.insert(id, text); }
    void addResource(const QString &type, const QString &name, const QByteArray &data)
    {
        raw_.insert(type.toUpper() + QLatin1Char('/') + name.toUpper(), data);
    }

    QImage loadBitmap(const QString &name) const override
    {
        auto it = named_.constFind(name.toUpper());
        if (it == named_.constEnd() || it->isNull())
            throw EResourceError(QStringLiteral("Bitmap resource %1 not found").arg(name).toStdString());
        return *it;
    }

    QImage loadBitmap(int id) const override
    {
        auto it = numbered_.constFind(id);
        if (it == numbered_.constEnd() || it->isNull())
            throw EResourceError(QStringLiteral("Bitmap resource #%1 not found").arg(id).toStdString());
        return *it;
    }

    QString loadString(int id) const override { return strings_.value(id); }
    QByteArray findResource(const QString &type, const QString &name) const override
    {
        return raw_.value(type.toUpper() + QLatin1Char('/') + name.toUpper());
    }

  private:
    QHash<QString, QImage> named_;
    QHash<int, QImage> numbered_;
    QHash<int, QString> strings_;
    QHash<QString, QByteArray> raw_;
};

} // namespace platform
