#include "screens/CollectionFilterBar.h"

#include "screens/ScreenParts.h"

#include <QSignalBlocker>
#include <array>

namespace
{

// The lists' lines after «any», in the order of the grades and the kinds.
const std::array<QString, 3> kGrades{QStringLiteral("лёгкие"), QStringLiteral("средние"),
                                     QStringLiteral("сложные")};
const std::array<QString, 5> kKinds{QStringLiteral("число"), QStringLiteral("текст"), QStringLiteral("время"),
                                    QStringLiteral("выбор из списка"), QStringLiteral("несколько чисел")};

TFlatComboBox *makeList(QWidget *parent, const char *name, const QRect &r, const QString &any,
                        const QString &accessibleName)
{
    auto *box = new TFlatComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setStyle(TFlatComboBox::Style::DropDownList);
    box->setColor(zw::clWhite);
    box->setColorArrowBackground(zw::clFocus);
    box->setColorBorder(zw::clGray);
    box->setFont(zw::gameFont(15));
    box->setItemHeight(18);
    box->setGeometry(r);
    box->addItem(any);
    box->setAccessibleName(accessibleName);
    box->setToolTip(accessibleName);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

// The one bit a list's line stands for; none for «any».
std::uint8_t bitOf(int line)
{
    return line <= 0 ? 0 : std::uint8_t(1u << (line - 1));
}

// The line of a set of bits: «any» unless exactly one bit is set.
int lineOf(std::uint8_t bits)
{
    for (int i = 0; i < 8; ++i)
        if (bits == (1u << i))
            return i + 1;
    return 0;
}

} // namespace

TCollectionFilterBar::TCollectionFilterBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FilterBar"));
    resize(Width, Height);

    SearchEdit = new TFlatEdit(this);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setFont(zw::gameFont(15));
    SearchEdit->setColorFlat(zw::clWhite);
    SearchEdit->setColorFocused(zw::clFocus);
    SearchEdit->setColorBorder(zw::clGray);
    SearchEdit->setMaxLength(MaxSearchLength);
    SearchEdit->setPlaceholderText(QStringLiteral("поиск по названию"));
    SearchEdit->setAccessibleName(QStringLiteral("Поиск по названию"));
    SearchEdit->setToolTip(QStringLiteral("Поиск по названию (Ctrl+F)"));
    SearchEdit->setGeometry(0, 0, 253, 22);

    StarredOnlyButton = screens::makeButton(this, "StarredOnlyButton", {257, 0, 42, 22}, QStringLiteral("★"),
                                            QStringLiteral("Только отмеченные звёздочкой"));
    StarredOnlyButton->setFont(zw::gameFont(17));
    StarredOnlyButton->setCheckable(true);
    StarredOnlyButton->setAccessibleName(QStringLiteral("Только отмеченные"));
    ClearFilterButton = screens::makeButton(this, "ClearFilterButton", {303, 0, 42, 22}, QStringLiteral("✕"),
                                            QStringLiteral("Сбросить фильтр (Ctrl+Backspace)"));
    ClearFilterButton->setFont(zw::gameFont(17));
    ClearFilterButton->setAccessibleName(QStringLiteral("Сбросить фильтр"));

    DifficultyBox = makeList(this, "DifficultyBox", {0, 25, 152, 22}, QStringLiteral("любая сложность"),
                             QStringLiteral("Сложность"));
    for (const QString &line : kGrades)
        DifficultyBox->addItem(line);
    KindBox = makeList(this, "KindBox", {156, 25, 189, 22}, QStringLiteral("любой ответ"),
                       QStringLiteral("Вид ответа"));
    for (const QString &line : kKinds)
        KindBox->addItem(line);

    connect(SearchEdit, &QLineEdit::textChanged, this, &TCollectionFilterBar::changed);
    connect(StarredOnlyButton, &QAbstractButton::toggled, this, [this](bool on) {
        showStarredOnly(on);
        emit changed();
    });
    connect(ClearFilterButton, &QAbstractButton::clicked, this, &TCollectionFilterBar::clearRequested);
    connect(DifficultyBox, &QComboBox::currentIndexChanged, this, &TCollectionFilterBar::changed);
    connect(KindBox, &QComboBox::currentIndexChanged, this, &TCollectionFilterBar::changed);
    setTabOrder(SearchEdit, StarredOnlyButton);
    setTabOrder(StarredOnlyButton, ClearFilterButton);
    setTabOrder(ClearFilterButton, DifficultyBox);
    setTabOrder(DifficultyBox, KindBox);
}

ProblemFilter TCollectionFilterBar::Read() const
{
    ProblemFilter filter;
    filter.title = SearchEdit->text();
    filter.starredOnly = StarredOnlyButton->isChecked();
    filter.difficulties = bitOf(DifficultyBox->currentIndex());
    filter.answerKinds = bitOf(KindBox->currentIndex());
    return filter;
}

void TCollectionFilterBar::Show(const ProblemFilter &filter)
{
    const QSignalBlocker edit(SearchEdit), star(StarredOnlyButton), grade(DifficultyBox), kind(KindBox);
    if (SearchEdit->text() != filter.title)
        SearchEdit->setText(filter.title);
    StarredOnlyButton->setChecked(filter.starredOnly);
    showStarredOnly(filter.starredOnly);
    DifficultyBox->setCurrentIndex(lineOf(filter.difficulties));
    KindBox->setCurrentIndex(lineOf(filter.answerKinds));
}

void TCollectionFilterBar::showStarredOnly(bool on)
{
    // A pressed toggle shows the highlight colour, as a focused button does.
    StarredOnlyButton->setColorFace(on ? zw::clFocus : zw::clPanel);
}
