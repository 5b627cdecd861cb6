#include "core/lang/text_table.h"

#include <QHash>

namespace mirandel {

namespace {

struct Entry {
    int index;
    const char16_t *text;
};

// Built-in English texts, by index. Every index not listed is a blank slot.
constexpr Entry kEnglish[] = {
    {0, u"Begin"},
    {1, u"Step 1"},
    {2, u"Step 2"},
    {3, u"Step 3"},
    {4, u"Step 4"},
    {5, u"Step 5"},
    {9, u"None Configuration Opened "},
    {10, u"Use Step1 to open or create new configuration"},
    {11, u"Opened Configuration of the Converter : "},
    {18, u"Error! Project not Valid"},
};

const QHash<int, QString> &englishMap()
{
    static const QHash<int, QString> map = [] {
        QHash<int, QString> m;
        for (const Entry &e : kEnglish)
            m.insert(e.index, QString::fromUtf16(e.text));
        return m;
    }();
    return map;
}

} // namespace

QString englishText(int index)
{
    return englishMap().value(index, QStringLiteral(" "));
}

QList<int> usedTextIndices()
{
    QList<int> keys = englishMap().keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace mirandel
