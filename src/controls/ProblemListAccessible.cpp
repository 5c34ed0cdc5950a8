#include "controls/ProblemListAccessible.h"

#include "controls/FlatListBoxEx.h"
#include "core/DifficultyName.h"
#include "core/ProblemListModel.h"
#include "core/User.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

namespace
{

// The row of a position, or -1 while it is scrolled out of view.
int rowOf(const TFlatListBoxEx &list, int position)
{
    const int row = position - list.TopIndex();
    return row >= 0 && row < int(list.Rows().size()) ? row : -1;
}

// A click or double-click in the middle of the position's row, delivered like
// the player's own: through the application, whose error report catches a
// puzzle that cannot be read.
void clickRow(const QPointer<TFlatListBoxEx> &list, int position, bool twice)
{
    if (!list || !list->isVisible() || !list->isEnabled() || position >= list->Count())
        return;
    if (rowOf(*list, position) < 0)
        list->SetTopIndex(position);
    const int row = rowOf(*list, position);
    if (row < 0)
        return;
    const QPointF at = QRectF(list->Rows()[std::size_t(row)]).center();
    const QPointF global = list->mapToGlobal(at);
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
        if (list)
            QApplication::sendEvent(list, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (twice && list) {
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
}

} // namespace

// ---- the list ------------------------------------------------------------

ProblemListAccessible::ProblemListAccessible(TFlatListBoxEx *list)
    : QAccessibleWidget(list, QAccessible::List)
{
    // A screen reader hears of every new selection from here, whoever made
    // it: the player's click or key, or the rules at a level's start.
    QObject::connect(list, &TFlatListBoxEx::selectionShown, list, [list] {
        const int position = list->HighlightedIndex();
        if (!QAccessible::isActive() || position < 0)
            return;
        QAccessibleEvent selection(list, QAccessible::Selection);
        selection.setChild(position);
        QAccessible::updateAccessibility(&selection);
        if (list->isVisible() && list->isActiveWindow()) {
            QAccessibleEvent focus(list, QAccessible::Focus);
            focus.setChild(position);
            QAccessible::updateAccessibility(&focus);
        }
    });
}

ProblemListAccessible::~ProblemListAccessible()
{
    for (QAccessible::Id id : children_)
        if (id)
            QAccessible::deleteAccessibleInterface(id);
}

TFlatListBoxEx *ProblemListAccessible::list() const
{
    return static_cast<TFlatListBoxEx *>(widget());
}

int ProblemListAccessible::childCount() const
{
    return list()->Count();
}

QAccessibleInterface *ProblemListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    // Items are made once per position and live as long as the list, so that
    // the ids handed out stay good while the rows change under them.
    if (std::size_t(index) >= children_.size())
        children_.resize(std::size_t(index) + 1, 0);
    QAccessible::Id &id = children_[std::size_t(index)];
    if (!id)
        id = QAccessible::registerAccessibleInterface(new ProblemItemAccessible(list(), index));
    return QAccessible::accessibleInterface(id);
}

int ProblemListAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (child && child->role() == QAccessible::ListItem && child->parent() == this) {
        const int position = static_cast<const ProblemItemAccessible *>(child)->position();
        return position < childCount() ? position : -1;
    }
    return -1;
}

QAccessibleInterface *ProblemListAccessible::childAt(int x, int y) const
{
    const QPoint at = list()->mapFromGlobal(QPoint(x, y));
    const auto &rows = list()->Rows();
    for (std::size_t k = 0; k < rows.size(); ++k)
        if (rows[k].contains(at))
            return child(list()->TopIndex() + int(k));
    return nullptr;
}

QString ProblemListAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && list()->accessibleName().isEmpty())
        return QStringLiteral("Список головоломок");
    return QAccessibleWidget::text(t);
}

QString ProblemListAccessible::describe(const TFlatListBoxEx &list, int position)
{
    const TProblemListModel *model = list.Model();
    const TProblem *problem = model ? model->At(position) : nullptr;
    if (!problem)
        return {};
    QStringList parts;
    // The game mode's rows show the player's progress; the collection's do not.
    if (model->ShowsProgress() && list.GameMode()) {
        const LevelEntry progress = model->Progress(*problem);
        // A right answer also marks the entry bought: its solution is free to
        // read, which is what the player needs to hear, not a purchase.
        parts << (progress.Solved ? QStringLiteral("решена") : QStringLiteral("не решена"));
        if (!progress.Bought)
            parts << QStringLiteral("ответ не куплен");
        else
            parts << (progress.Solved ? QStringLiteral("ответ можно посмотреть бесплатно")
                                      : QStringLiteral("ответ куплен"));
        parts << QStringLiteral("неверных ответов: %1").arg(progress.WrongAnswers);
    }
    if (const std::optional<Difficulty> grade = knownDifficulty(problem->Difficult))
        parts << QStringLiteral("сложность: ") + difficultyName(*grade);
    if (model->Starred(position))
        parts << QStringLiteral("отмечена звёздочкой");
    return parts.join(QStringLiteral(", "));
}

// ---- one puzzle ------------------------------------------------------------

ProblemItemAccessible::ProblemItemAccessible(TFlatListBoxEx *list, int position)
    : list_(list), position_(position)
{
}

bool ProblemItemAccessible::isValid() const
{
    return list_ && position_ < list_->Count();
}

QWindow *ProblemItemAccessible::window() const
{
    return list_ ? list_->window()->windowHandle() : nullptr;
}

QAccessibleInterface *ProblemItemAccessible::parent() const
{
    return list_ ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
}

QString ProblemItemAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    switch (t) {
    case QAccessible::Name:
        return list_->Item(position_);
    case QAccessible::Description:
        return ProblemListAccessible::describe(*list_, position_);
    default:
        return {};
    }
}

QRect ProblemItemAccessible::rect() const
{
    if (!isValid())
        return {};
    const int row = rowOf(*list_, position_);
    if (row < 0)
        return {};
    const QRect r = list_->Rows()[std::size_t(row)];
    return QRect(list_->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::State ProblemItemAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.selectable = true;
    s.selected = position_ == list_->HighlightedIndex();
    s.invisible = !list_->isVisible();
    s.offscreen = s.invisible || rowOf(*list_, position_) < 0;
    s.disabled = !list_->isEnabled();
    return s;
}

void *ProblemItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

QStringList ProblemItemAccessible::actionNames() const
{
    if (!isValid() || !list_->isVisible() || !list_->isEnabled())
        return {};
    return {pressAction(), openAction()};
}

QString ProblemItemAccessible::localizedActionName(const QString &name) const
{
    if (name == pressAction())
        return QStringLiteral("Выбрать");
    if (name == openAction())
        return QStringLiteral("Открыть");
    return QAccessibleActionInterface::localizedActionName(name);
}

QString ProblemItemAccessible::localizedActionDescription(const QString &name) const
{
    if (name == pressAction())
        return QStringLiteral("Выбрать головоломку в списке");
    if (name == openAction())
        return QStringLiteral("Перейти к решению головоломки");
    return QAccessibleActionInterface::localizedActionDescription(name);
}

void ProblemItemAccessible::doAction(const QString &name)
{
    if ((name != pressAction() && name != openAction()) || !list_)
        return;
    // After the caller (a screen reader's request) has had its answer: what
    // the click starts may run a modal dialog.
    QTimer::singleShot(0, list_.data(), [list = list_, position = position_, twice = name == openAction()] {
        clickRow(list, position, twice);
    });
}
