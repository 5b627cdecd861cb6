#pragma once
// A hostile data block whose Overlap_Entries table entries all point into
// one text of Overlap_Text_Length bytes: zero-terminated variable names, or
// known certificates with a stored length.

#include <QByteArray>

namespace mirandel::test {

inline constexpr quint32 Overlap_Entries = 1000;
inline constexpr qint64 Overlap_Text_Length = 20000;

inline QByteArray overlappingBank2(bool terminated)
{
    const auto poke32 = [](QByteArray &data, qint64 at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            data[at + i] = char(value >> (8 * i));
    };
    const quint32 entries = Overlap_Entries;
    const qint64 textLength = Overlap_Text_Length;
    QByteArray bank2(1024 + 54, '\0');
    const qint64 tables = 1078 + qint64(entries) * (terminated ? 32 : 8);
    const quint32 text = quint32(0x80000 + tables + 1);
    bank2.resize(tables + 1 + textLength + 1, '\0');
    bank2.replace(tables + 1, textLength, QByteArray(textLength, 'T'));
    poke32(bank2, 1024 + 38, 0x80436);
    poke32(bank2, 1024 + 34, terminated ? 0 : entries);
    poke32(bank2, 1024 + 46, terminated ? entries : 0);
    poke32(bank2, 1024 + 50, terminated ? 0x80436 : 0x80436 + 8 * entries);
    for (quint32 i = 0; i < entries; ++i) {
        const qint64 e = 1078 + qint64(i) * (terminated ? 32 : 8);
        // Names alternate between two addresses: equal neighbouring
        // addresses would be read as empty names.
        poke32(bank2, e, terminated ? text + (i % 2) : text);
        if (!terminated)
            poke32(bank2, e + 4, quint32(textLength));
    }
    return bank2;
}

} // namespace mirandel::test
