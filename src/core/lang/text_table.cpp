#include "core/lang/text_table.h"

namespace mirandel {

TextTable::TextTable()
{
    Fill_Default_Texts();
}

void TextTable::Fill_Default_Texts()
{
    m_texts.clear();
    m_texts.reserve(Text_Count);
    for (int i = 0; i < Text_Count; ++i)
        m_texts.append(englishText(i));
}

QString TextTable::text(int index) const
{
    if (index < 0 || index >= m_texts.size())
        return QString();
    return m_texts.at(index);
}

void TextTable::setText(int index, const QString &text)
{
    if (index >= 0 && index < m_texts.size())
        m_texts[index] = text;
}

} // namespace mirandel
