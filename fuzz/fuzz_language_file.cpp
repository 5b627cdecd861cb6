// The language file reader: any bytes decode, every line is applied or
// ignored, and the table keeps its 4100 entries.

#include "core/lang/language_file.h"
#include "fuzz_support.h"

using namespace mirandel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TextTable table;
    table.Fill_Default_Texts();
    const LanguageReadResult r = applyLanguageText(decodeLanguageBytes(fuzz::bytes(data, size)), table);
    FUZZ_ASSERT(r.opened);
    FUZZ_ASSERT(r.stored >= r.storedIndices.size());
    for (int index : r.storedIndices)
        FUZZ_ASSERT(index >= 0 && index < TextTable::Text_Count);
    FUZZ_ASSERT(table.text(TextTable::Text_Count - 1).size() >= 0);
    return 0;
}
