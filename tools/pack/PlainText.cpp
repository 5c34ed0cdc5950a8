#include "PlainText.h"

#include "platform/Codepage.h"

#include <cctype>

namespace {

bool isHiddenDestination(const QByteArray &word)
{
    static const char *hidden[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer",
                                   "listtable", "listoverridetable", "generator", "themedata"};
    for (const char *h : hidden)
        if (word == h)
            return true;
    return false;
}

}  // namespace

QString rtfToPlainText(const QByteArray &rtf)
{
    QByteArray out;  // Windows-1251 bytes, decoded at the end
    QString result;
    auto flush = [&] {
        result += platform::fromCp1251(out);
        out.clear();
    };
    int depth = 0;
    int hiddenFrom = -1;  // depth at which a hidden group started
    int skipAfterUnicode = 0;
    int ucSkip = 1;
    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = rtf[i];
        const bool hidden = hiddenFrom >= 0;
        if (c == '{') {
            ++depth;
            if (!hidden && i + 2 < n && rtf[i + 1] == '\\' && rtf[i + 2] == '*')
                hiddenFrom = depth;
            continue;
        }
        if (c == '}') {
            if (hiddenFrom == depth)
                hiddenFrom = -1;
            --depth;
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        if (c != '\\') {
            if (hidden)
                continue;
            if (skipAfterUnicode > 0) {
                --skipAfterUnicode;
                continue;
            }
            out.append(c);
            continue;
        }
        // A control symbol or word.
        if (i + 1 >= n)
            break;
        const char next = rtf[i + 1];
        if (next == '\\' || next == '{' || next == '}') {
            if (!hidden)
                out.append(next);
            ++i;
            continue;
        }
        if (next == '\'') {
            if (i + 3 < n && !hidden) {
                bool ok = false;
                const int v = rtf.mid(i + 2, 2).toInt(&ok, 16);
                if (ok) {
                    if (skipAfterUnicode > 0)
                        --skipAfterUnicode;
                    else
                        out.append(char(v));
                }
            }
            i += 3;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(next))) {
            if (next == '~' && !hidden)
                out.append(' ');
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && std::isalpha(static_cast<unsigned char>(rtf[j])))
            ++j;
        const QByteArray word = rtf.mid(i + 1, j - i - 1);
        qsizetype k = j;
        if (k < n && (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k])))) {
            ++k;
            while (k < n && std::isdigit(static_cast<unsigned char>(rtf[k])))
                ++k;
        }
        const QByteArray param = rtf.mid(j, k - j);
        if (k < n && rtf[k] == ' ')
            ++k;  // the delimiting space belongs to the control word
        i = k - 1;
        if (isHiddenDestination(word) && hiddenFrom < 0)
            hiddenFrom = depth;
        if (hiddenFrom >= 0)
            continue;
        if (word == "par" || word == "line")
            out.append('\n');
        else if (word == "tab")
            out.append('\t');
        else if (word == "uc")
            ucSkip = param.toInt();
        else if (word == "u") {
            int code = param.toInt();
            if (code < 0)
                code += 65536;
            flush();
            result += QChar(char16_t(code));
            skipAfterUnicode = ucSkip;
        }
    }
    flush();
    return result.trimmed();
}
