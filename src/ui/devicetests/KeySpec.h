#pragma once

#include <QList>
#include <QString>

namespace wrenlow {

// One key of the keyboard test: the text on its cap and the macOS code that lights it.
struct KeySpec
{
    QString label;
    quint16 code = 0;
};

// The keyboard test's five rows of an ANSI Mac keyboard, left to right; left and right modifiers are separate keys.
const QList<QList<KeySpec>> &keyboardTestRows();

// The number of distinct codes over all rows.
int keyboardTestKeyCount();

} // namespace wrenlow
