#include "KeySpec.h"

#include <QSet>

namespace wrenlow {

namespace {

KeySpec key(const char *label, quint16 code)
{
    return {QString::fromUtf8(label), code};
}

} // namespace

const QList<QList<KeySpec>> &keyboardTestRows()
{
    static const QList<QList<KeySpec>> rows{
        {key("esc", 53), key("1", 18), key("2", 19), key("3", 20), key("4", 21), key("5", 23), key("6", 22),
         key("7", 26), key("8", 28), key("9", 25), key("0", 29), key("-", 27), key("=", 24), key("delete", 51)},
        {key("tab", 48), key("Q", 12), key("W", 13), key("E", 14), key("R", 15), key("T", 17), key("Y", 16),
         key("U", 32), key("I", 34), key("O", 31), key("P", 35), key("[", 33), key("]", 30), key("\\", 42)},
        {key("caps", 57), key("A", 0), key("S", 1), key("D", 2), key("F", 3), key("G", 5), key("H", 4), key("J", 38),
         key("K", 40), key("L", 37), key(";", 41), key("'", 39), key("return", 36)},
        {key("shift", 56), key("Z", 6), key("X", 7), key("C", 8), key("V", 9), key("B", 11), key("N", 45), key("M", 46),
         key(",", 43), key(".", 47), key("/", 44), key("shift", 60)},
        {key("fn", 63), key("ctrl", 59), key("option", 58), key("cmd", 55), key("space", 49), key("cmd", 54),
         key("option", 61), key("\u2190", 123), key("\u2193", 125), key("\u2191", 126), key("\u2192", 124)},
    };
    return rows;
}

int keyboardTestKeyCount()
{
    QSet<quint16> codes;
    for (const auto &row : keyboardTestRows())
        for (const auto &key : row)
            codes.insert(key.code);
    return static_cast<int>(codes.size());
}

} // namespace wrenlow
