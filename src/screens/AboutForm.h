#pragma once
// The about box: a picture, the maker's greeting and two links, to the maker's
// web page and to its mail address, opened through the shell.
#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/Shape.h"

#include <functional>

class TAboutForm : public TForm
{
    Q_OBJECT
  public:
    static inline const QString Maker = QStringLiteral("Quorvane");
    static inline const QString WebAddress = QStringLiteral("https://quorvane.example/zentrika");
    static inline const QString MailAddress = QStringLiteral("zentrika@quorvane.example");

    // The greeting, lines separated by line breaks, paragraphs indented by four blanks.
    static QString greetingText();

    // What opens a link; empty opens it with the desktop's shell.
    using ShellOpener = std::function<void(const QString &target)>;

    explicit TAboutForm(QWidget *owner = nullptr, ShellOpener opener = {});

    TPictureBox *Image1;
    TShape *Frame;
    TLabel *Greeting;
    TLabel *WebLink;
    TLabel *MailLink;
    TFlatButton *OKButton;

    void Label2Click();
    void Label3Click();

  protected:
    bool FormKeyDown(QKeyEvent *event) override;
    void FormClose(CloseAction &action) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void OKButtonClick();
    void placeLinks();

    ShellOpener opener_;
};
