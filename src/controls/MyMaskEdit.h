#pragma once
// The answer dialog's time edit: a masked edit for "!90:00:00;1;_" (an
// optional and a required hour digit, two minute and two second digits,
// separated by ':'). Typing fills digit positions and skips the separators;
// typing the separator moves past the next one; anything else is refused
// with a beep. A separator typed right after the caret skipped that very
// separator does nothing, so "13:22:00" typed in full gives 13:22:00. One
// hour digit is enough ("7_:40:00" is 7:40:00). Leaving it with a changed,
// incomplete time puts the focus back and the caret on the first incomplete
// position, silently; a mouse press on a button is no leaving, so that the
// button still gets its click. No context menu.
#include <QLineEdit>

class TMyMaskEdit : public QLineEdit
{
    Q_OBJECT
  public:
    static constexpr char Blank = '_';
    static constexpr char Separator = ':';

    explicit TMyMaskEdit(QWidget *parent = nullptr);

    // The text as it is read back: separators kept, unfilled positions as blanks.
    QString Text() const;
    void setMaskedText(const QString &digits);
    void Clear();
    // Minutes and seconds hold their digits and the hour at least one.
    bool isComplete() const;
    // The first required position without a digit, or -1.
    int firstIncomplete() const;
    bool isModifiedSinceCheck() const { return modified_; }
    // Runs the check made when the edit is left; true when it passes.
    bool ValidateEdit();

    static bool isLiteral(int pos);
    static bool isOptional(int pos) { return pos == 0; }
    static constexpr int Length = 8;

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

  private:
    void putDigit(QChar digit);
    void clearRange(int from, int to);
    void clearSelectedCells();
    // Backspace and Delete without a selection: the nearest digit cell, separators skipped.
    void clearDigitBefore();
    void clearDigitAfter();
    // ":" typed: the caret moves past the next separator unless a digit has just skipped it.
    void typeSeparator(int skipped);
    void setCells(const QString &cells, int caret);
    QString cells() const { return QLineEdit::text(); }

    bool modified_ = false;
    // The separator the caret has just skipped after a digit, or -1.
    int skippedSeparator_ = -1;
};
