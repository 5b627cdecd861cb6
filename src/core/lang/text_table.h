#pragma once
// The UI text table: 4100 texts addressed by index, in blocks of 100 per
// dialog. Built-in English fills it; a language file overlays it entry by
// entry. One table exists for the whole program (owned by the AppContext);
// every dialog reads its texts from it by index when it applies them.

#include <QString>
#include <QStringList>

namespace mirandel {

class TextTable {
public:
    static constexpr int Text_Count = 4100;

    TextTable();

    // Empties the table and appends the 4100 built-in English texts.
    void Fill_Default_Texts();

    // Entry `index` (0..4099); an index outside the table gives an empty text.
    QString text(int index) const;
    QString operator[](int index) const { return text(index); }
    void setText(int index, const QString &text);

    int size() const { return int(m_texts.size()); }

private:
    QStringList m_texts;
};

// Built-in English text of `index`: the text of every index this program
// uses, a single blank " " for every other index.
QString englishText(int index);

// Indices that have a built-in English text other than the blank slot.
QList<int> usedTextIndices();

} // namespace mirandel
