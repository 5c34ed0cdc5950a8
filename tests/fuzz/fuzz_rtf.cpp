// Feeds arbitrary bytes to the RTF reader: it must refuse or read them, never crash.
// Run with LSAN_OPTIONS=suppressions=tests/fuzz/lsan.supp and -dict=tests/fuzz/rtf.dict.
#include "widgets/richtext/RtfReader.h"
#include "widgets/richtext/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Broken pictures are expected here; the decoders' complaints would drown the fuzzer's output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static QGuiApplication app(*argc, *argv); // image decoders and fonts want one
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Most inputs should reach the parser, so a missing header is supplied half the time.
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!bytes.isEmpty() && (bytes[0] & 1) && !richtext::looksLikeRtf(bytes))
        bytes.prepend("{\\rtf1\\ansi\\ansicpg1251 ");
    QTextDocument doc;
    if (richtext::readRtf(bytes, &doc)) {
        // What was read must be writable again and read back.
        QTextDocument again;
        richtext::readRtf(richtext::writeRtf(doc), &again);
        doc.setTextWidth(344);
        (void)doc.size();
    }
    return 0;
}
