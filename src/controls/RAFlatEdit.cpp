#include "controls/RAFlatEdit.h"

#include <QContextMenuEvent>

TRAFlatEdit::TRAFlatEdit(QWidget *parent) : TFlatEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TRAFlatEdit::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept(); // consumed: no menu, and the owner sees none either
}
