#include "controls/MyMaskEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QTimer>
#include <utility>

namespace
{
const QString kEmpty = QStringLiteral("__:__:__");
}

TMyMaskEdit::TMyMaskEdit(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(Length);
    setAcceptDrops(false);
    QLineEdit::setText(kEmpty);
    setCursorPosition(0);
}

bool TMyMaskEdit::isLiteral(int pos)
{
    return pos == 2 || pos == 5;
}

QString TMyMaskEdit::Text() const
{
    QString t = cells();
    t.replace(QLatin1Char(Blank), QLatin1Char(' '));
    return t;
}

void TMyMaskEdit::setCells(const QString &c, int caret)
{
    QLineEdit::setText(c);
    setCursorPosition(std::clamp(caret, 0, Length));
}

void TMyMaskEdit::setMaskedText(const QString &digits)
{
    QString c = kEmpty;
    int pos = 0;
    for (QChar ch : digits) {
        while (pos < Length && isLiteral(pos))
            ++pos;
        if (pos >= Length)
            break;
        if (ch.isDigit() && ch.unicode() < 128)
            c[pos++] = ch;
        else if (ch == QLatin1Char(' ') || ch == QLatin1Char(Blank))
            ++pos;
    }
    setCells(c, 0);
}

void TMyMaskEdit::Clear()
{
    setCells(kEmpty, 0);
    modified_ = false;
}

int TMyMaskEdit::firstIncomplete() const
{
    const QString c = cells();
    auto digitAt = [&c](int i) { return i < c.size() && c[i].isDigit(); };
    for (int i = 0; i < Length; ++i) {
        if (isLiteral(i) || isOptional(i))
            continue;
        // The hour is whole with one digit in either of its two positions.
        if (i == 1 && digitAt(0))
            continue;
        if (!digitAt(i))
            return i;
    }
    return -1;
}

bool TMyMaskEdit::isComplete() const
{
    return firstIncomplete() < 0;
}

void TMyMaskEdit::clearRange(int from, int to)
{
    QString c = cells();
    for (int i = from; i < to && i < Length; ++i) {
        if (!isLiteral(i))
            c[i] = QLatin1Char(Blank);
    }
    setCells(c, from);
    modified_ = true;
}

void TMyMaskEdit::putDigit(QChar digit)
{
    if (hasSelectedText())
        clearRange(selectionStart(), selectionStart() + selectedText().size());
    int pos = cursorPosition();
    while (pos < Length && isLiteral(pos))
        ++pos;
    if (pos >= Length) {
        QApplication::beep();
        return;
    }
    QString c = cells();
    c[pos] = digit;
    ++pos;
    const int filled = pos;
    while (pos < Length && isLiteral(pos))
        ++pos;
    setCells(c, pos);
    modified_ = true;
    if (pos != filled)
        skippedSeparator_ = filled;
}

void TMyMaskEdit::keyPressEvent(QKeyEvent *event)
{
    // Shift and the other modifiers come as keys of their own (":" is Shift
    // and a key on most layouts); they leave the mask and its state alone.
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    // Only the key right after a digit may take back the separator it skipped.
    const int skipped = std::exchange(skippedSeparator_, -1);
    if (event->matches(QKeySequence::Paste)) {
        const QString pasted = QApplication::clipboard()->text();
        for (QChar ch : pasted) {
            if (ch.isDigit() && ch.unicode() < 128)
                putDigit(ch);
        }
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo) ||
        event->matches(QKeySequence::Redo)) {
        if (event->matches(QKeySequence::Cut) && hasSelectedText()) {
            QApplication::clipboard()->setText(selectedText());
            clearSelectedCells();
        }
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        if (hasSelectedText())
            clearSelectedCells();
        else if (event->key() == Qt::Key_Backspace)
            clearDigitBefore();
        else
            clearDigitAfter();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!printable) {
        // Caret movement, selection, Tab and Enter; anything that would delete
        // past the mask (word or line deletion) is undone.
        const QString before = cells();
        const int caret = cursorPosition();
        QLineEdit::keyPressEvent(event);
        if (cells() != before)
            setCells(before, caret);
        return;
    }
    event->accept();
    const QChar ch = typed.at(0);
    if (ch.isDigit() && ch.unicode() < 128)
        putDigit(ch);
    else if (ch == QLatin1Char(Separator))
        typeSeparator(skipped);
    else
        QApplication::beep();
}

void TMyMaskEdit::clearSelectedCells()
{
    clearRange(selectionStart(), selectionStart() + selectedText().size());
}

void TMyMaskEdit::clearDigitBefore()
{
    int pos = cursorPosition() - 1;
    while (pos >= 0 && isLiteral(pos))
        --pos;
    if (pos >= 0)
        clearRange(pos, pos + 1);
}

void TMyMaskEdit::clearDigitAfter()
{
    const int caret = cursorPosition();
    int pos = caret;
    while (pos < Length && isLiteral(pos))
        ++pos;
    if (pos < Length) {
        clearRange(pos, pos + 1);
        setCursorPosition(caret);
    }
}

void TMyMaskEdit::typeSeparator(int skipped)
{
    // "13" then ":" : the caret already stands past this separator.
    if (skipped >= 0 && cursorPosition() == skipped + 1 && !hasSelectedText())
        return;
    int pos = cursorPosition();
    while (pos < Length && !isLiteral(pos))
        ++pos;
    if (pos < Length)
        setCursorPosition(pos + 1);
    else
        QApplication::beep();
}

void TMyMaskEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // Composed text goes through the same filter as typed keys.
    for (QChar ch : event->commitString()) {
        if (ch.isDigit() && ch.unicode() < 128)
            putDigit(ch);
        else
            QApplication::beep();
    }
    event->accept();
}

void TMyMaskEdit::focusInEvent(QFocusEvent *event)
{
    const int caret = cursorPosition();
    QLineEdit::focusInEvent(event);
    // Entering the edit keeps the caret where it was and selects nothing.
    deselect();
    setCursorPosition(caret);
}

bool TMyMaskEdit::ValidateEdit()
{
    if (!modified_ || isComplete())
        return true;
    setFocus(Qt::OtherFocusReason);
    setCursorPosition(firstIncomplete());
    return false;
}

void TMyMaskEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Switching windows or opening a popup is no leaving of the edit.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (!modified_ || isComplete())
        return;
    // A press on a button (the dialog's ОК or Отмена) must reach its release:
    // taking the focus back now would cancel the button's click.
    if (event->reason() == Qt::MouseFocusReason &&
        qobject_cast<QAbstractButton *>(QApplication::focusWidget()))
        return;
    // Silent: no beep, no message; the focus comes back once the move is over.
    QTimer::singleShot(0, this, [this] {
        if (window()->isVisible() && isVisible() && isEnabled())
            ValidateEdit();
    });
}

void TMyMaskEdit::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}
