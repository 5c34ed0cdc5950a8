// What a screen reader finds in the game's windows: every control a player
// can reach has a name and a role, the painted labels and gauge say what they
// show, and the puzzle list is a list of puzzles with their progress.
#include "ScreensSupport.h"

#include "controls/Accessibility.h"
#include "controls/FlatListBoxEx.h"
#include "controls/ProblemListAccessible.h"
#include "core/Catalogue.h"
#include "core/ProblemListModel.h"
#include "core/User.h"
#include "platform/Registry.h"
#include "screens/AboutForm.h"
#include "screens/GameForm.h"
#include "screens/MainForm.h"
#include "screens/ProblemsForm.h"
#include "screens/ReplyForm.h"
#include "screens/Texts.h"
#include "screens/UserSelectDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextEdit>

using namespace guitest;

namespace
{

struct Found {
    QString objectName;
    QString className;
    QAccessible::Role role;
    QString name;
    QString description;
};

// Every visible control a player can click, type into or tab to, as the
// accessibility tree shows it.
void collect(QAccessibleInterface *iface, std::vector<Found> &out)
{
    if (!iface || !iface->isValid())
        return;
    if (auto *w = qobject_cast<QWidget *>(iface->object()); w && w->isVisible()) {
        const bool reachable = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w) ||
                               qobject_cast<QComboBox *>(w) || (w->focusPolicy() & Qt::TabFocus);
        if (reachable && w->width() > 0)
            out.push_back({w->objectName(), QLatin1String(w->metaObject()->className()), iface->role(),
                           iface->text(QAccessible::Name), iface->text(QAccessible::Description)});
    }
    for (int i = 0; i < iface->childCount(); ++i)
        collect(iface->child(i), out);
}

std::vector<Found> reachableControls(QWidget *window)
{
    std::vector<Found> out;
    collect(QAccessible::queryAccessibleInterface(window), out);
    return out;
}

class AccessibilityTest : public ScreenFixture
{
  protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        controls::installAccessibility();
        for (int id = 1; id <= 5; ++id)
            media.addString(id, QStringLiteral("Лого %1").arg(id));
        context.messages = &box;
        std::vector<PuzzleSpec> puzzles;
        for (int i = 0; i < 16; ++i)
            puzzles.push_back({ProblemId(100 + i), i < 10 ? 0 : (i < 14 ? 1 : 2),
                               QStringLiteral("Задача %1").arg(100 + i), i, 3});
        writeCatalogue(gameDir(), puzzles);
    }

    RecordingMessageBox box{&media, nullptr, &waves};
};

TEST_F(AccessibilityTest, EveryReachableControlHasANameAndARole)
{
    auto player = TUser::CreateNew(QStringLiteral("Вася"), 2);
    struct Window {
        const char *what;
        std::function<QWidget *()> make;
        QStringList expected; // names that must be among the controls
    };
    const Window windows[] = {
        {"main menu",
         [this] { return new TMainForm(context); },
         {"Новая игра", "Головоломки", "Выйти", "О программе"}},
        {"player selection",
         [this] { return new TUserSelectDialog(context); },
         {"Новая игра", "Продолжить игру", "Имя пользователя", "OK", "Назад", "Удалить"}},
        {"game",
         [&] { return new TGameForm(context, *player, nullptr, gameDir()); },
         {"назад", "посмотреть ответ", "решить"}},
        {"collection", [&] { return new TProblemsForm(context, nullptr, gameDir()); }, {"назад", "решить"}},
        {"about box", [] { return new TAboutForm; }, {"OK"}},
    };
    for (const Window &w : windows) {
        SCOPED_TRACE(w.what);
        std::unique_ptr<QWidget> window(w.make());
        window->show();
        QCoreApplication::processEvents();
        const std::vector<Found> controls = reachableControls(window.get());
        ASSERT_FALSE(controls.empty());
        QStringList names;
        for (const Found &c : controls) {
            SCOPED_TRACE((c.className + QLatin1Char(' ') + c.objectName).toStdString());
            // A word, not a sign such as "?" or "<" that says nothing read aloud.
            EXPECT_TRUE(c.name.contains(QRegularExpression(QStringLiteral("\\p{L}{2}"))))
                << c.name.toStdString();
            EXPECT_NE(c.role, QAccessible::Client);
            EXPECT_NE(c.role, QAccessible::NoRole);
            names << c.name;
        }
        for (const QString &name : w.expected)
            EXPECT_TRUE(names.contains(name))
                << name.toStdString() << " is not among " << names.join(", ").toStdString();
        window->hide();
    }
}

TEST_F(AccessibilityTest, DialogsNameTheirFieldsTextAndButtons)
{
    // The answer dialog: the field is named by its caption and described by the question.
    TCatalogue catalogue(gameDir());
    catalogue.LoadCatalogue();
    TProblem &problem = *catalogue.FindProblem(100);
    problem.LoadDataWithoutPicture();
    QPointer<TReplyForm> answer = new TReplyForm(nullptr, problem);
    answer->show();
    QCoreApplication::processEvents();
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(answer->Edit);
    EXPECT_EQ(field->text(QAccessible::Name), QStringLiteral("Ваш ответ"));
    EXPECT_EQ(field->text(QAccessible::Description), QStringLiteral("Сколько?"));
    for (const Found &c : reachableControls(answer))
        EXPECT_FALSE(c.name.isEmpty()) << c.objectName.toStdString();
    delete answer.data();

    // A message box, read while it waits for its answer.
    TMessageBoxForm messages{&media};
    ModalScript script;
    std::vector<Found> shown;
    QString text;
    QAccessible::Role role = QAccessible::NoRole;
    QString description;
    script.then([&](QWidget *w) {
        shown = reachableControls(w);
        text = QAccessible::queryAccessibleInterface(static_cast<TMessageBoxForm *>(w)->Text)
                   ->text(QAccessible::Name);
        role = QAccessible::queryAccessibleInterface(w)->role();
        description = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
        QTest::keyClick(w, Qt::Key_Return);
    });
    messages.ShowNotice(QStringLiteral("Головоломка решена!"));
    EXPECT_TRUE(script.done());
    EXPECT_EQ(text, QStringLiteral("Головоломка решена!"));
    // Read out as it opens: no button takes the focus there.
    EXPECT_EQ(role, QAccessible::Dialog);
    EXPECT_EQ(description, QStringLiteral("Головоломка решена!"));
    ASSERT_FALSE(shown.empty());
    for (const Found &c : shown) {
        EXPECT_EQ(c.role, QAccessible::Button);
        EXPECT_FALSE(c.name.isEmpty());
    }
}

TEST_F(AccessibilityTest, EveryControlReachedByTabShowsAFocusMark)
{
    struct Window {
        const char *what;
        std::function<TForm *()> make;
    };
    const Window windows[] = {
        {"main menu", [this] { return new TMainForm(context); }},
        {"player selection", [this] { return new TUserSelectDialog(context); }},
    };
    // The puzzle screens' and the about box's buttons take no Tab: Enter and
    // Escape act there.
    for (const Window &w : windows) {
        SCOPED_TRACE(w.what);
        QPointer<TForm> window = w.make();
        window->ShowModalAsync();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        std::vector<QWidget *> chain;
        for (QWidget *c = window->nextInFocusChain(); c && c != window; c = c->nextInFocusChain())
            if (c->isVisible() && c->isEnabled() && (c->focusPolicy() & Qt::TabFocus) && c->width() > 0 &&
                !c->focusProxy())
                chain.push_back(c);
        ASSERT_FALSE(chain.empty());
        for (QWidget *c : chain) {
            SCOPED_TRACE(c->objectName().toStdString());
            // Away from the control, then onto it as Tab would.
            window->setFocus(Qt::OtherFocusReason);
            QCoreApplication::processEvents();
            const QImage before = c->grab().toImage();
            c->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
            ASSERT_TRUE(c->hasFocus());
            EXPECT_NE(c->grab().toImage(), before);
            EXPECT_TRUE(window->rect().contains(QRect(c->mapTo(window, QPoint(0, 0)), c->size())));
        }
        window->hide();
        delete window.data();
        flushDeletes();
    }
}

TEST_F(AccessibilityTest, ScoreLevelAndProgressSayWhatTheyShow)
{
    auto player = TUser::CreateNew(QStringLiteral("Вася"), 2);
    player->Scores = 45;
    QPointer<TGameForm> form = new TGameForm(context, *player, nullptr, gameDir());
    form->show();
    QCoreApplication::processEvents();
    struct Expected {
        QWidget *widget;
        QAccessible::Role role;
        QString name;
        QString description;
    };
    const Expected expected[] = {
        {form->ScoresLabel, QAccessible::StaticText, QStringLiteral("45"), QStringLiteral("Очки")},
        {form->LevelLabel, QAccessible::StaticText, QStringLiteral("1"), QStringLiteral("Уровень")},
        {form->NameLabel, QAccessible::StaticText, QStringLiteral("Вася"),
         QStringLiteral("Имя пользователя")},
        {form->ProgressBar, QAccessible::ProgressBar, form->ProgressBar->text(),
         QStringLiteral("Решённые головоломки")},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.widget->objectName().toStdString());
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(e.widget);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), e.role);
        EXPECT_EQ(iface->text(QAccessible::Name), e.name);
        EXPECT_EQ(iface->text(QAccessible::Description), e.description);
    }
    QAccessibleValueInterface *value =
        QAccessible::queryAccessibleInterface(form->ProgressBar)->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), form->ProgressBar->progress());
    EXPECT_EQ(value->maximumValue().toInt(), 100);
    delete form.data();
}

// The status panel's pictures are read as what they show, the caption above
// each as its description; a solution paid for or earned is free, on the coin
// and aloud.
TEST_F(AccessibilityTest, StatusPanelFactsAreReadAndAFreeSolutionSaysSo)
{
    struct Case {
        std::uint8_t solved, bought;
        const char *price;
        QColor coin;
    };
    const Case cases[] = {
        {0, 0, "30 очков", QColor(30, 30, 100)},
        {0, 1, "бесплатно", QColor(0, 90, 0)},
        {1, 1, "бесплатно", QColor(0, 90, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.solved) + std::to_string(c.bought));
        auto player = TUser::CreateNew(QStringLiteral("Вася"), 2);
        // A medium puzzle (bonus 20, price 30), and one open so that the level goes on.
        for (ProblemId id : {110, 100}) {
            player->UsedIds.Add(id);
            player->LevelList.Add(id);
        }
        player->LevelList.FindEntry(110)->Solved = c.solved;
        player->LevelList.FindEntry(110)->Bought = c.bought;
        QPointer<TGameForm> form = new TGameForm(context, *player, nullptr, gameDir());
        form->show();
        QCoreApplication::processEvents();
        struct Fact {
            QWidget *picture;
            QString name;
            QString description;
        };
        const Fact facts[] = {
            {form->DiffImage, QStringLiteral("средняя"), QStringLiteral("Сложность головоломки")},
            {form->BonusImage, QStringLiteral("20 очков"), QStringLiteral("Бонус за решение")},
            {form->AnswerImage, QString::fromUtf8(c.price), QStringLiteral("Посмотреть ответ")},
        };
        for (const Fact &f : facts) {
            SCOPED_TRACE(f.picture->objectName().toStdString());
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(f.picture);
            ASSERT_NE(iface, nullptr);
            EXPECT_EQ(iface->role(), QAccessible::Graphic);
            EXPECT_EQ(iface->text(QAccessible::Name), f.name);
            EXPECT_EQ(iface->text(QAccessible::Description), f.description);
        }
        EXPECT_EQ(centreColor(form->AnswerImage->picture()), c.coin);
        delete form.data();
    }
    // Points as they are said: one, a few, many.
    const std::pair<int, const char *> points[] = {{1, "1 очко"},   {3, "3 очка"},    {11, "11 очков"},
                                                   {22, "22 очка"}, {40, "40 очков"}, {-21, "-21 очко"}};
    for (const auto &[n, said] : points)
        EXPECT_EQ(texts::Points(n), QString::fromUtf8(said));
}

TEST_F(AccessibilityTest, TheTextViewerGivesThePuzzlesText)
{
    QPointer<TProblemsForm> form = new TProblemsForm(context, nullptr, gameDir());
    form->show();
    form->DecideButton->click();
    QCoreApplication::processEvents();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(form->ProblemText);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Текст головоломки"));
    ASSERT_NE(iface->textInterface(), nullptr);
    const QString text = iface->textInterface()->text(0, iface->textInterface()->characterCount());
    EXPECT_TRUE(text.contains(QStringLiteral("Statement 100 line 0"))) << text.toStdString();
    delete form.data();
}

TEST_F(AccessibilityTest, AStarIsHeardOnItsRowAndOnItsButton)
{
    QPointer<TProblemsForm> form = new TProblemsForm(context, nullptr, gameDir());
    form->show();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(form->ProblemsList);
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->childCount(), 1);
    EXPECT_EQ(form->StarButton->accessibleName(), QStringLiteral("Отметить звёздочкой"));
    form->StarButton->click();
    EXPECT_TRUE(
        list->child(0)->text(QAccessible::Description).endsWith(QStringLiteral(", отмечена звёздочкой")));
    EXPECT_FALSE(list->child(1)->text(QAccessible::Description).contains(QStringLiteral("звёздочкой")));
    EXPECT_EQ(form->StarButton->accessibleName(), QStringLiteral("Снять звёздочку"));
    delete form.data();
}

TEST_F(AccessibilityTest, PuzzleListRowsGiveTitleProgressAndSelection)
{
    // The list as a screen uses it: a view of a model over the level's
    // entries, a chosen row selected in the model.
    TProblemsList level;
    TProblemListModel model;
    model.SetLevelEntries(&level);
    QWidget host;
    host.resize(800, 600);
    auto *list = new TFlatListBoxEx(&host);
    list->SetModel(&model);
    QObject::connect(list, &TFlatListBoxEx::rowChosen, list, [&](int position) {
        model.Select(position);
        list->Refresh();
    });
    list->BeginLoad();
    list->setGeometry(5, 80, 450, 110); // five rows: the rest is scrolled out
    list->SetItemHeight(22);
    list->SetScrollBars(true);
    list->SetGameMode(true);
    list->Loaded(&media);
    TCatalogue catalogue(gameDir());
    catalogue.LoadCatalogue();
    struct Row {
        LevelEntry entry;
        const char *description;
    };
    const Row rows[] = {
        {{100, 0, 0, 0}, "не решена, ответ не куплен, неверных ответов: 0, сложность: лёгкая"},
        {{101, 1, 1, 0}, "решена, ответ можно посмотреть бесплатно, неверных ответов: 0, сложность: лёгкая"},
        {{110, 0, 1, 3}, "не решена, ответ куплен, неверных ответов: 3, сложность: средняя"},
        {{114, 1, 0, 65535}, "решена, ответ не куплен, неверных ответов: 65535, сложность: сложная"},
        {{102, 0, 0, 1}, "не решена, ответ не куплен, неверных ответов: 1, сложность: лёгкая"},
        {{103, 0, 0, 0}, "не решена, ответ не куплен, неверных ответов: 0, сложность: лёгкая"},
        {{104, 0, 0, 0}, "не решена, ответ не куплен, неверных ответов: 0, сложность: лёгкая"},
    };
    for (const Row &r : rows) {
        level.Add(r.entry.Id);
        *level.FindEntry(r.entry.Id) = r.entry;
        model.Add(*catalogue.FindProblem(r.entry.Id));
    }
    host.show();
    model.Select(0);
    list->Refresh();

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::List);
    ASSERT_EQ(iface->childCount(), int(std::size(rows)));
    for (int i = 0; i < iface->childCount(); ++i) {
        SCOPED_TRACE(i);
        QAccessibleInterface *item = iface->child(i);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(item->parent(), iface);
        EXPECT_EQ(iface->indexOfChild(item), i);
        EXPECT_EQ(item, iface->child(i)); // the same item every time
        EXPECT_EQ(item->text(QAccessible::Name), QStringLiteral("Задача %1").arg(rows[i].entry.Id));
        EXPECT_EQ(item->text(QAccessible::Description), QString::fromUtf8(rows[i].description));
        EXPECT_EQ(item->state().selected, i == 0);
        EXPECT_EQ(item->state().offscreen, i >= list->VisibleRows());
    }

    // Selecting a row scrolled out of view brings it in, as the player's click would.
    QAccessibleInterface *last = iface->child(iface->childCount() - 1);
    ASSERT_NE(last->actionInterface(), nullptr);
    last->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(list->HighlightedIndex(), iface->childCount() - 1);
    EXPECT_TRUE(last->state().selected);
    EXPECT_FALSE(last->state().offscreen);
    EXPECT_FALSE(iface->child(0)->state().selected);
    EXPECT_EQ(iface->childAt(last->rect().center().x(), last->rect().center().y()), last);
    // Opening it is the double-click that takes a screen to the puzzle's text.
    QSignalSpy opened(list, &TFlatListBoxEx::doubleClicked);
    iface->child(1)->actionInterface()->doAction(ProblemItemAccessible::openAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(list->HighlightedIndex(), 1);

    // Emptied, the list has no rows, and the items it handed out say so.
    model.Clear();
    EXPECT_EQ(iface->childCount(), 0);
    EXPECT_FALSE(last->isValid());
    EXPECT_TRUE(last->actionInterface()->actionNames().isEmpty());
}

} // namespace
