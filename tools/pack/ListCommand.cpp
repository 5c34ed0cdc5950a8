// zentrika-pack list DIR: the catalogue of a game folder as the game loads it, as JSON.
#include "Commands.h"

#include "core/Catalogue.h"
#include "core/Errors.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

int runList(const QStringList &args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: zentrika-pack list DIR\n");
        return 2;
    }
    TCatalogue catalogue(args[0]);
    try {
        catalogue.LoadCatalogue();
    } catch (const EZentrikaError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    QJsonArray out;
    for (const auto &p : catalogue.Items())
        out.append(QJsonObject{
            {QStringLiteral("id"), p->Id},
            {QStringLiteral("difficult"), p->Difficult},
            {QStringLiteral("name"), p->Name},
            {QStringLiteral("image"), p->ImagePath},
            {QStringLiteral("data"), p->DataPath},
        });
    const QByteArray json = QJsonDocument(out).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
    return 0;
}
