#pragma once
// A quick plain-text view of a stored rich-text document, for listings: the
// words with control words, groups of hidden destinations and braces removed.
#include <QByteArray>
#include <QString>

QString rtfToPlainText(const QByteArray &rtf);
