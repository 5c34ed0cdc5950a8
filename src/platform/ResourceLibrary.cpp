#include "platform/ResourceLibrary.h"

namespace platform
{

QImage loadBitmapFrom(const IResourceLibrary *library, const QString &name)
{
    // One wording for every cause, as the screens report it while loading.
    const auto missing = [&] {
        return EResourceError(QStringLiteral("Resource %1 not found").arg(name).toStdString());
    };
    if (!library)
        throw missing();
    try {
        return library->loadBitmap(name);
    } catch (const EResourceError &) {
        throw missing();
    }
}

} // namespace platform
