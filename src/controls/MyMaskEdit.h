#pragma once
// The answer dialog's time edit: a masked edit for "!90:00:00;1;_" (an
// optional and a required hour digit, two minute and two second digits,
// separated by ':'). Typing fills digit positions and skips the separators;
// typing the separator moves past the next one; anything else is refused
// with a beep. Leaving it with a changed, incomplete time puts the focus back
// and the caret on the first incomplete position, silently. No context menu.
#include <QLineEdit>

class TMyMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr char Blank = '_';
    static constexpr char Separator = ':';

    explicit TMyMaskEdit(QWidget *parent = nullptr);

    // The text as it is read back: separators kept, unfilled positions as blanks.
    QString Text() const;
    void setMaskedText(const QString &digits);
    void Clear();
    // Every required position holds a digit.
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
    void setCells(const QString &cells, int caret);
    QString cells() const { return QLineEdit::text(); }

    bool modified_ = false;
};
