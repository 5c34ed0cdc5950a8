#pragma once
// What the screens, dialogs and flows say to the player and ask of them: the
// game's message box (TMessageBoxForm) behind an interface, so that start-up
// builds the one box and hands it down in the context. Each call shows the box
// modally and returns once the player has closed it.
#include "core/DialogResult.h"

#include <QString>

class IMessages
{
  public:
    virtual ~IMessages() = default;

    virtual void ShowNotice(const QString &text) = 0;
    // Raise platform::EResourceError when the library lacks the picture; nothing is shown then.
    virtual void ShowPictureNotice(const QString &bitmapName, const QString &text) = 0;
    virtual void ShowPictureIdNotice(int bitmapId, const QString &text) = 0;
    // Closing the box any other way than with "Да" is no.
    virtual Reply Ask(const QString &question) = 0;
    // The verdicts on an answer, with their pictures and sounds.
    virtual void ShowTrueAnswer() = 0;
    virtual void ShowFalseAnswer() = 0;
};
