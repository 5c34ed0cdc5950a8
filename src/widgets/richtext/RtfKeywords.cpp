#include "RtfKeywords.h"

#include <iterator>
#include <unordered_map>
#include <utility>

namespace richtext::rtf
{
namespace
{

// clang-format off
constexpr std::pair<std::string_view, Keyword> kWords[] = {
    {"ansicpg", {Kw::Ansicpg}}, {"deff", {Kw::Deff}}, {"fonttbl", {Kw::Fonttbl}},
    {"colortbl", {Kw::Colortbl}}, {"f", {Kw::F}}, {"fcharset", {Kw::Fcharset}}, {"red", {Kw::Red}},
    {"green", {Kw::Green}}, {"blue", {Kw::Blue}}, {"b", {Kw::B}}, {"i", {Kw::I}}, {"ul", {Kw::Ul}},
    {"uld", {Kw::Ul}}, {"uldb", {Kw::Ul}}, {"ulw", {Kw::Ul}}, {"ulth", {Kw::Ul}}, {"uldash", {Kw::Ul}},
    {"ulwave", {Kw::Ul}}, {"ulnone", {Kw::Ulnone}}, {"strike", {Kw::Strike}}, {"striked", {Kw::Strike}},
    {"v", {Kw::V}}, {"cf", {Kw::Cf}}, {"highlight", {Kw::Highlight}}, {"cb", {Kw::Highlight}},
    {"chcbpat", {Kw::Highlight}}, {"fs", {Kw::Fs}}, {"plain", {Kw::Plain}}, {"sub", {Kw::Sub}},
    {"super", {Kw::Super}}, {"nosupersub", {Kw::Nosupersub}}, {"par", {Kw::Par}}, {"sect", {Kw::Par}},
    {"page", {Kw::Par}}, {"row", {Kw::Par}}, {"line", {Kw::Line}}, {"tab", {Kw::Tab}}, {"cell", {Kw::Tab}},
    {"pard", {Kw::Pard}}, {"ql", {Kw::Ql}}, {"qc", {Kw::Qc}}, {"qr", {Kw::Qr}}, {"qj", {Kw::Qj}},
    {"fi", {Kw::Fi}}, {"li", {Kw::Li}}, {"ri", {Kw::Ri}}, {"sb", {Kw::Sb}}, {"sa", {Kw::Sa}},
    {"u", {Kw::U}}, {"uc", {Kw::Uc}}, {"pict", {Kw::Pict}}, {"pngblip", {Kw::Pngblip}},
    {"jpegblip", {Kw::Jpegblip}}, {"picw", {Kw::Picw}}, {"pich", {Kw::Pich}}, {"picwgoal", {Kw::Picwgoal}},
    {"pichgoal", {Kw::Pichgoal}}, {"picscalex", {Kw::Picscalex}}, {"picscaley", {Kw::Picscaley}},
    {"bin", {Kw::Bin}}, {"emdash", {Kw::Char, 0x2014}}, {"endash", {Kw::Char, 0x2013}},
    {"bullet", {Kw::Char, 0x2022}}, {"lquote", {Kw::Char, 0x2018}}, {"rquote", {Kw::Char, 0x2019}},
    {"ldblquote", {Kw::Char, 0x201C}}, {"rdblquote", {Kw::Char, 0x201D}},
    {"emspace", {Kw::Char, 0x2003}}, {"enspace", {Kw::Char, 0x2002}}, {"qmspace", {Kw::Char, 0x2005}},
    {"shppict", {Kw::Transparent}}, {"field", {Kw::Transparent}}, {"fldrslt", {Kw::Transparent}},
    {"object", {Kw::Transparent}}, {"result", {Kw::Transparent}}, {"pntext", {Kw::Transparent}},
    {"listtext", {Kw::Transparent}},
};

// Destinations whose content never reaches the page.
constexpr std::string_view kSkipped[] = {
    "stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr",
    "footerf", "footnote", "annotation", "atnid", "atnauthor", "xe", "tc", "txe", "rxe", "pn",
    "pnseclvl", "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "themedata",
    "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "fldinst", "bkmkstart", "bkmkend",
    "nonshppict", "pgdsctbl", "filetbl", "comment", "author", "title", "operator", "subject",
    "keywords", "doccomm", "company", "template", "buptim", "creatim", "printim", "revtim", "objdata",
    "objclass", "mmathPr", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "private", "userprops",
    "docvar", "wgrffmtfilter", "pxe", "background", "shp", "shpinst", "sp", "shptxt", "falt",
    "panose", "fontemb", "fontfile", "blipuid", "picprop", "passwordhash",
};
// clang-format on

using Table = std::unordered_map<std::string_view, Keyword>;

Table buildTable()
{
    Table t(std::begin(kWords), std::end(kWords));
    for (std::string_view d : kSkipped)
        t.emplace(d, Keyword{Kw::SkipDest});
    return t;
}

} // namespace

const Keyword *findKeyword(std::string_view word)
{
    static const Table table = buildTable();
    const auto it = table.find(word);
    return it != table.end() ? &it->second : nullptr;
}

} // namespace richtext::rtf
