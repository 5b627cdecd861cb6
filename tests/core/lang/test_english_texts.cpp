#include "core/lang/text_table.h"

#include <gtest/gtest.h>

using namespace mirandel;

namespace {

TEST(EnglishTexts, TableHoldsEveryIndexWithBlankSlotsForUnusedOnes)
{
    TextTable table;
    ASSERT_EQ(table.size(), TextTable::Text_Count);
    for (int i = 0; i < TextTable::Text_Count; ++i)
        ASSERT_EQ(table.text(i), englishText(i)) << i;

    // Blocks without texts of their own, and the very ends of the table.
    for (int unused : {29, 99, 111, 208, 322, 1099, 1103, 2000, 2099, 4099})
        EXPECT_EQ(englishText(unused), QStringLiteral(" ")) << unused;

    EXPECT_TRUE(table.text(-1).isEmpty());
    EXPECT_TRUE(table.text(TextTable::Text_Count).isEmpty());
}

TEST(EnglishTexts, TextsKeepTheirBlanksAndSpelling)
{
    const struct {
        int index;
        const char16_t *text;
    } cases[] = {
        {0, u"Begin"},
        {7, u"Step 7"},
        {9, u"None Configuration Opened "},
        {11, u"Opened Configuration of the Converter : "},
        {202, u"List of Avaliable Configurations"},
        {305, u"Page "},
        {306, u" / "},
        {317, u" to "},
        {821, u"Are you sure to delete the Row number "},
        {924, u"Select teh Type of IEC61850 Variable (Int or Float)"},
        {930, u"!! Position must be between 0 and "},
        {1037, u"Error!!! Check the Ip Address"},
        {1961, u"Error IEC61850 Server!! Name of Server cannot be empty"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(englishText(c.index), QString::fromUtf16(c.text)) << c.index;
}

TEST(EnglishTexts, UsedIndicesAreSortedAndNotBlank)
{
    const QList<int> used = usedTextIndices();
    ASSERT_FALSE(used.isEmpty());
    EXPECT_TRUE(std::is_sorted(used.begin(), used.end()));
    EXPECT_EQ(used.front(), 0);
    for (int i : used) {
        EXPECT_NE(englishText(i), QStringLiteral(" ")) << i;
        EXPECT_FALSE(englishText(i).isEmpty()) << i;
    }
    EXPECT_FALSE(used.contains(29));
}

} // namespace
