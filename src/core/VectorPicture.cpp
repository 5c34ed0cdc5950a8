#include "core/VectorPicture.h"

#include "platform/BoundedFile.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <utility>
#include <vector>

namespace vectorpicture
{

namespace
{

struct Node {
    std::vector<int> children;
    QString useTarget; // the "#id" of a <use>, without the "#"
};

// Only bitmaps that the JPEG and PNG readers decode; an embedded SVG would be
// read by a second SVG reader that none of these checks reach.
QString dataImageFault(const QString &href)
{
    static const QRegularExpression form(QStringLiteral("^data:image/(png|jpeg|jpg);base64,"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(href);
    if (!m.hasMatch())
        return QStringLiteral("an embedded image that is not a base64 PNG or JPEG");
    QByteArray bytes = QByteArray::fromBase64(href.mid(m.capturedLength()).toLatin1());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    if (!size.isValid() || size.width() > MaxEmbeddedSide || size.height() > MaxEmbeddedSide)
        return QStringLiteral("an embedded image that cannot be read or is larger than %1 pixels on a side")
            .arg(MaxEmbeddedSide);
    return {};
}

QString hrefFault(const QString &value)
{
    const QString href = value.trimmed();
    if (href.startsWith(QLatin1Char('#')))
        return {};
    if (href.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return dataImageFault(href);
    return QStringLiteral("an external reference \"%1\"").arg(href.left(80));
}

// CSS and presentation attributes: url() may name only an element of this document.
QString cssFault(const QString &text)
{
    static const QRegularExpression url(QStringLiteral(R"(url\s*\(\s*['"]?\s*([^'")\s]*))"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (text.contains(QLatin1String("@import"), Qt::CaseInsensitive))
        return QStringLiteral("a CSS @import");
    for (const QRegularExpressionMatch &m : url.globalMatch(text)) {
        if (!m.captured(1).startsWith(QLatin1Char('#')))
            return QStringLiteral("an external reference \"url(%1)\"").arg(m.captured(1).left(80));
    }
    return {};
}

// Elements as drawn, <use> expanded, walked without recursion so that a long
// chain of references cannot exhaust the stack. Empty when within the limit.
QString expansionFault(const std::vector<Node> &nodes, const QHash<QString, int> &ids)
{
    const auto n = nodes.size();
    std::vector<qint64> drawn(n, 0);
    std::vector<char> state(n, 0); // 0 not seen, 1 on the path, 2 counted
    auto edges = [&](std::size_t i) {
        std::vector<int> out = nodes[i].children;
        if (!nodes[i].useTarget.isEmpty()) {
            const auto it = ids.constFind(nodes[i].useTarget);
            if (it != ids.constEnd())
                out.push_back(*it);
        }
        return out;
    };
    for (std::size_t root = 0; root < n; ++root) {
        if (state[root])
            continue;
        std::vector<std::pair<std::size_t, std::vector<int>>> path;
        path.emplace_back(root, edges(root));
        state[root] = 1;
        while (!path.empty()) {
            auto &[node, next] = path.back();
            if (next.empty()) {
                drawn[node] += 1;
                state[node] = 2;
                const std::size_t done = node;
                path.pop_back();
                if (!path.empty())
                    drawn[path.back().first] =
                        std::min<qint64>(drawn[path.back().first] + drawn[done], MaxElements + 1);
                continue;
            }
            const auto child = std::size_t(next.back());
            next.pop_back();
            if (state[child] == 1)
                return QStringLiteral("a <use> that refers to itself or to an element around it");
            if (state[child] == 2) {
                drawn[node] = std::min<qint64>(drawn[node] + drawn[child], MaxElements + 1);
                continue;
            }
            state[child] = 1;
            path.emplace_back(child, edges(child));
        }
        if (drawn[root] > MaxElements)
            return QStringLiteral("more than %1 elements to draw").arg(MaxElements);
    }
    return {};
}

QString elementFault(const QXmlStreamReader &xml, std::vector<Node> &nodes, QHash<QString, int> &ids)
{
    Node node;
    for (const QXmlStreamAttribute &a : xml.attributes()) {
        const QString value = a.value().toString();
        QString fault = a.name() == QLatin1String("href") ? hrefFault(value) : cssFault(value);
        if (!fault.isEmpty())
            return fault;
        if (a.name() == QLatin1String("id"))
            ids.insert(value, int(nodes.size()));
        if (a.name() == QLatin1String("href") && xml.name() == QLatin1String("use"))
            node.useTarget = value.trimmed().mid(1);
    }
    nodes.push_back(std::move(node));
    return {};
}

} // namespace

QString pathFor(const QString &imagePath)
{
    const qsizetype slash =
        std::max(imagePath.lastIndexOf(QLatin1Char('/')), imagePath.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = imagePath.lastIndexOf(QLatin1Char('.'));
    return (dot > slash ? imagePath.left(dot) : imagePath) + QStringLiteral(".svg");
}

QString fault(const QByteArray &svg)
{
    if (svg.size() > MaxBytes)
        return QStringLiteral("larger than %1 bytes").arg(MaxBytes);
    QXmlStreamReader xml(svg);
    std::vector<Node> nodes;
    std::vector<int> open;       // the elements around the reader's place
    std::vector<bool> openStyle; // whether each of them is a <style>, whose text is CSS
    QHash<QString, int> ids;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            return QStringLiteral("a document type declaration");
        case QXmlStreamReader::EntityReference:
            return QStringLiteral("an entity reference");
        case QXmlStreamReader::StartElement: {
            if (nodes.empty() && xml.name() != QLatin1String("svg"))
                return QStringLiteral("not an SVG document");
            if (open.size() >= std::size_t(MaxDepth))
                return QStringLiteral("elements nested deeper than %1").arg(MaxDepth);
            if (nodes.size() >= std::size_t(MaxElements))
                return QStringLiteral("more than %1 elements").arg(MaxElements);
            if (!open.empty())
                nodes[std::size_t(open.back())].children.push_back(int(nodes.size()));
            open.push_back(int(nodes.size()));
            openStyle.push_back(xml.name() == QLatin1String("style"));
            if (QString f = elementFault(xml, nodes, ids); !f.isEmpty())
                return f;
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            openStyle.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (openStyle.empty() || !openStyle.back())
                break;
            if (QString f = cssFault(xml.text().toString()); !f.isEmpty())
                return f;
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        return QStringLiteral("not well-formed XML: %1").arg(xml.errorString());
    if (nodes.empty())
        return QStringLiteral("not an SVG document");
    return expansionFault(nodes, ids);
}

QByteArray readSafe(const QString &path)
{
    // A FIFO or a folder in the picture's place must not block the game.
    if (path.isEmpty())
        return {};
    const platform::BoundedRead read = platform::readBoundedFile(path, MaxBytes);
    if (!read.ok() || !fault(read.bytes).isEmpty())
        return {};
    return read.bytes;
}

} // namespace vectorpicture
