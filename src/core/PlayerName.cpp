#include "core/PlayerName.h"

#include "platform/InputLimits.h"
#include "platform/Registry.h"

namespace
{

// Characters that draw nothing, or that change how the text around them
// runs: controls, formats (zero-width spaces and joiners, direction marks,
// embeddings, overrides and isolates, the byte-order mark), line and
// paragraph separators, private-use and unassigned code points, and the
// fillers and selectors that other categories hold.
bool invisible(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        break;
    }
    return c == 0x034F || c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0 ||
           (c >= 0x180B && c <= 0x180F) || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

// Every space becomes a plain one, runs of them one, and none stays at either
// end: "Вася" with a no-break space in it is the same name as with a plain
// one. Controls such as a tab are left for the check to refuse.
QString plainSpaces(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const bool space = c.category() == QChar::Separator_Space;
        if (space && (out.isEmpty() || out.back() == u' '))
            continue;
        out += space ? QChar(u' ') : c;
    }
    if (out.endsWith(u' '))
        out.chop(1);
    return out;
}

bool hasInvisible(const QString &text)
{
    for (char32_t c : text.toUcs4())
        if (invisible(c))
            return true;
    return false;
}

QString withoutInvisible(const QString &text)
{
    const QList<uint> ucs = text.toUcs4();
    QList<uint> kept;
    kept.reserve(ucs.size());
    for (uint c : ucs)
        if (!invisible(char32_t(c)))
            kept.append(c);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(kept.constData()), kept.size());
}

} // namespace

namespace playername
{

PlayerName normalise(const QString &typed)
{
    PlayerName name;
    name.text = plainSpaces(typed.normalized(QString::NormalizationForm_C));
    if (name.text.isEmpty())
        name.fault = NameFault::Empty;
    else if (hasInvisible(name.text))
        name.fault = NameFault::Invisible;
    else if (name.text.size() > limits::MaxNameLength)
        name.fault = NameFault::TooLong;
    else if (!platform::Registry::isKeyName(name.text))
        name.fault = NameFault::NotAKeyName;
    return name;
}

QString compareKey(const QString &name)
{
    return plainSpaces(withoutInvisible(name.normalized(QString::NormalizationForm_C))).toCaseFolded();
}

bool sameName(const QString &a, const QString &b)
{
    return compareKey(a) == compareKey(b);
}

QString faultText(NameFault fault)
{
    switch (fault) {
    case NameFault::None:
        return {};
    case NameFault::Empty:
        return QStringLiteral("Введите имя пользователя.");
    case NameFault::TooLong:
        return QStringLiteral("Имя длиннее %1 символов: введите имя короче.").arg(limits::MaxNameLength);
    case NameFault::Invisible:
        return QStringLiteral("В имени есть невидимые символы: введите его обычными буквами.");
    case NameFault::NotAKeyName:
        return QStringLiteral("Недопустимое имя пользователя.");
    }
    return {};
}

QString faultDetail(NameFault fault)
{
    switch (fault) {
    case NameFault::None:
        return {};
    case NameFault::Empty:
        return QStringLiteral("the name is empty");
    case NameFault::TooLong:
        return QStringLiteral("the name is longer than %1 characters").arg(limits::MaxNameLength);
    case NameFault::Invisible:
        return QStringLiteral("the name holds an invisible, control or direction character");
    case NameFault::NotAKeyName:
        return QStringLiteral("the name is \".\", \"..\" or holds '\\'");
    }
    return {};
}

QString findStored(const QStringList &storedNames, const QString &name)
{
    const QString key = compareKey(name);
    for (const QString &stored : storedNames)
        if (compareKey(stored) == key)
            return stored;
    return {};
}

} // namespace playername
