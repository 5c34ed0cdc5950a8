#pragma once
// The answer dialog's number and text edit: a flat edit with its text at the
// right edge and no context menu.
#include "widgets/FlatEdit.h"

class TRAFlatEdit : public TFlatEdit
{
    Q_OBJECT
  public:
    explicit TRAFlatEdit(QWidget *parent = nullptr);

  protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
};
