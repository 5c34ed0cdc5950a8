#pragma once
// What assistive technology sees of the puzzle list: a list with one item per
// puzzle. An item's name is the title the row shows; its description says what
// the row's pictures and count box show (solved, bought, wrong answers,
// difficulty); the highlighted row is the selected one. Selecting or opening
// an item acts as a click or double-click on its row, so the screens react as
// they do to a player's mouse.
#include <QAccessibleWidget>
#include <QPointer>
#include <vector>

class TFlatListBoxEx;

class ProblemListAccessible : public QAccessibleWidget
{
  public:
    explicit ProblemListAccessible(TFlatListBoxEx *list);
    ~ProblemListAccessible() override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

    // The description of a row, as the item gives it.
    static QString describe(const TFlatListBoxEx &list, int position);

  private:
    TFlatListBoxEx *list() const;

    mutable std::vector<QAccessible::Id> children_;
};

class ProblemItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
  public:
    // Opens the puzzle, as a double-click on its row does.
    static QString openAction() { return QStringLiteral("open"); }

    ProblemItemAccessible(TFlatListBoxEx *list, int position);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    QString localizedActionName(const QString &name) const override;
    QString localizedActionDescription(const QString &name) const override;
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    int position() const { return position_; }

  private:
    QPointer<TFlatListBoxEx> list_;
    int position_;
};
