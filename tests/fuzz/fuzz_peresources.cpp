// Any file handed to the resource library reader is either refused with an
// error or read within its bounds, down to every bitmap and string in it.
#include "platform/Dib.h"
#include "platform/PeResourceLibrary.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const platform::PeResourceLibrary lib(bytes);
        for (const auto &e : lib.entries()) {
            const QByteArray raw = lib.data(e);
            if (e.type == QLatin1String("#2")) {
                try {
                    (void)lib.loadBitmap(e.name);
                } catch (const platform::EResourceError &) {
                }
                try {
                    (void)platform::decodeIconDib(raw);
                } catch (const platform::EDibError &) {
                }
            } else if (e.type == QLatin1String("#6")) {
                const int block = e.name.mid(1).toInt();
                for (int id = (block - 1) * 16; id < block * 16; ++id)
                    (void)lib.loadString(id);
            }
            (void)lib.findResource(e.type, e.name);
        }
    } catch (const platform::EResourceError &) {
    }
    return 0;
}
