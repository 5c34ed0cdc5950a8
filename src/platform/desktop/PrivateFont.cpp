#include "platform/desktop/PrivateFont.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>

#include <fontconfig/fontconfig.h>
#include <thread>

namespace platform
{

namespace
{

// Joined before anything else asks for fonts, and at the latest when the
// program ends (a run that stops before its first window).
struct ConfigurationReader {
    std::thread thread;
    ~ConfigurationReader() { wait(); }
    void wait()
    {
        if (thread.joinable())
            thread.join();
    }
};

ConfigurationReader &configurationReader()
{
    static ConfigurationReader reader;
    return reader;
}

} // namespace

void PrivateFont::readConfigurationAhead()
{
    ConfigurationReader &reader = configurationReader();
    if (!reader.thread.joinable())
        reader.thread = std::thread([] { FcInit(); });
}

bool PrivateFont::add(const QStringList &files)
{
    // Qt's font table reads the configuration itself: never twice at once.
    configurationReader().wait();
    for (const QString &file : files) {
        const int id = QFontDatabase::addApplicationFont(file);
        if (id < 0)
            continue;
        ids_ << id;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (family_.isEmpty() && !families.isEmpty())
            family_ = families.first();
    }
    if (!family_.isEmpty() && family_ != QLatin1String(Face)) {
        QFont::removeSubstitutions(QLatin1String(Face));
        QFont::insertSubstitution(QLatin1String(Face), family_);
    }
    return isAdded();
}

bool PrivateFont::remove()
{
    if (ids_.isEmpty())
        return false;
    if (!QCoreApplication::instance()) { // the font table went with the application
        ids_.clear();
        return false;
    }
    for (int id : std::as_const(ids_))
        QFontDatabase::removeApplicationFont(id);
    ids_.clear();
    if (!family_.isEmpty())
        QFont::removeSubstitutions(QLatin1String(Face));
    family_.clear();
    return true;
}

} // namespace platform
