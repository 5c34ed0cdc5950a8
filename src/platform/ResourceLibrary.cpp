#include "platform/ResourceLibrary.h"

namespace platform {

QImage FakeResourceLibrary::loadBitmap(const QString &name) const
{
    auto it = named_.constFind(name.toUpper());
    if (it == named_.constEnd() || it->isNull())
        throw EResourceError(QStringLiteral("Bitmap resource %1 not found").arg(name).toStdString());
    return *it;
}

QImage FakeResourceLibrary::loadBitmap(int id) const
{
    auto it = numbered_.constFind(id);
    if (it == numbered_.constEnd() || it->isNull())
        throw EResourceError(QStringLiteral("Bitmap resource #%1 not found").arg(id).toStdString());
    return *it;
}

namespace {
IResourceLibrary *g_media = nullptr;
}

IResourceLibrary *mediaLibrary()
{
    return g_media;
}

void setMediaLibrary(IResourceLibrary *library)
{
    g_media = library;
}

QImage loadBitmapFrom(const IResourceLibrary *library, const QString &name)
{
    // One wording for every cause, as the screens report it while loading.
    const auto missing = [&] { return EResourceError(QStringLiteral("Resource %1 not found").arg(name).toStdString()); };
    if (!library)
        throw missing();
    try {
        return library->loadBitmap(name);
    } catch (const EResourceError &) {
        throw missing();
    }
}

}  // namespace platform
