#include "core/lang/text_table.h"
#include "core/params/par_gen_check.h"

#include <gtest/gtest.h>

using namespace mirandel;

namespace {

struct Edit {
    int row;
    const char *text; // "on"/"off" for a flag row
};

struct CheckCase {
    const char *name;
    std::vector<Edit> edits;
    int step;      // 0: every check passes
    int textIndex;
};

// A parameter set that passes every check: the new-project defaults with a
// poll time.
ParGen passing()
{
    ParGen values = ParGen::fileMissing();
    values.setText(Par_NTP_Poll_Time, QStringLiteral("60"));
    return values;
}

ParGen apply(const std::vector<Edit> &edits)
{
    ParGen values = passing();
    for (const Edit &e : edits) {
        if (parRowInfo(e.row).kind == ParKind::Flag)
            values.setFlag(e.row, qstrcmp(e.text, "on") == 0);
        else
            values.setText(e.row, QString::fromUtf8(e.text));
    }
    return values;
}

TEST(ControlloDati, StepsConditionsAndOrder)
{
    const CheckCase cases[] = {
        {"defaults with a poll time", {}, 0, 0},
        {"new project: empty poll time", {{Par_NTP_Poll_Time, ""}}, 26, 1921},
        // DNS fields are checked only while DNS is enabled.
        {"DNS off lets abc pass", {{Par_Eth_Conn_Primary_DNS1, "abc"}}, 0, 0},
        {"DNS on", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Primary_DNS1, "abc"}}, 1, 1951},
        {"primary 2", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Primary_DNS2, "256"}}, 2, 1952},
        {"primary 3", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Primary_DNS3, "-1"}}, 3, 1953},
        {"primary 4", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Primary_DNS4, ""}}, 4, 1954},
        {"secondary 1", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Secondary_DNS1, "256"}}, 5, 1955},
        {"secondary 2", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Secondary_DNS2, "256"}}, 6, 1956},
        {"secondary 3", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Secondary_DNS3, "256"}}, 7, 1957},
        {"secondary 4", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Secondary_DNS4, "256"}}, 8, 1958},
        {"DNS on, edges pass", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Primary_DNS1, "0"},
                                {Par_Eth_Conn_Secondary_DNS4, "255"}}, 0, 0},
        // Own address: always checked, DHCP or not.
        {"ip 1", {{Par_IEC61850_Server_IP1, "256"}}, 9, 607},
        {"ip 1 under DHCP", {{Par_Eth_Conn_DHCP_Cable, "on"}, {Par_IEC61850_Server_IP1, "x"}}, 9, 607},
        {"ip 2", {{Par_IEC61850_Server_IP2, ""}}, 10, 608},
        {"ip 3", {{Par_IEC61850_Server_IP3, "1.5"}}, 11, 609},
        {"ip 4", {{Par_IEC61850_Server_IP4, "-1"}}, 12, 610},
        {"sm 1", {{Par_IEC61850_Server_SM1, "256"}}, 13, 611},
        {"sm 2", {{Par_IEC61850_Server_SM2, "256"}}, 14, 612},
        {"sm 3", {{Par_IEC61850_Server_SM3, "256"}}, 15, 613},
        {"sm 4", {{Par_IEC61850_Server_SM4, "256"}}, 16, 614},
        {"hex and leading blanks pass", {{Par_IEC61850_Server_IP1, "0x1F"}, {Par_IEC61850_Server_IP2, " 12"},
                                         {Par_IEC61850_Server_SM4, "$FF"}}, 0, 0},
        {"trailing blank fails", {{Par_IEC61850_Server_IP1, "12 "}}, 9, 607},
        // Gateway fields are checked only while the Gateway box is on.
        {"gateway off lets 300 pass", {{Par_IEC61850_Server_GAT1, "300"}}, 0, 0},
        {"gateway 1", {{Par_IEC61850_Server_EN_GAT, "on"}, {Par_IEC61850_Server_GAT1, "300"}}, 17, 615},
        {"gateway 2", {{Par_IEC61850_Server_EN_GAT, "on"}, {Par_IEC61850_Server_GAT2, "300"}}, 18, 616},
        {"gateway 3", {{Par_IEC61850_Server_EN_GAT, "on"}, {Par_IEC61850_Server_GAT3, "300"}}, 19, 617},
        {"gateway 4", {{Par_IEC61850_Server_EN_GAT, "on"}, {Par_IEC61850_Server_GAT4, "300"}}, 20, 618},
        {"port 10000", {{Par_IEC61850_Server_Port, "10000"}}, 21, 437},
        {"port 65536", {{Par_IEC61850_Server_Port, "65536"}}, 21, 437},
        {"port empty", {{Par_IEC61850_Server_Port, ""}}, 21, 437},
        {"port 65535", {{Par_IEC61850_Server_Port, "65535"}}, 0, 0},
        {"port 0", {{Par_IEC61850_Server_Port, "0"}}, 0, 0},
        {"name of blanks", {{Par_IEC61850_Server_Name_Of_Server, "   "}}, 22, 1961},
        {"name of control characters", {{Par_IEC61850_Server_Name_Of_Server, "\t\r\n"}}, 22, 1961},
        {"node 64", {{Par_DNETS_ID_DEV, "64"}}, 23, 1609},
        {"node 63", {{Par_DNETS_ID_DEV, "63"}}, 0, 0},
        {"bytes in 456", {{Par_DNETS_NB_IN, "456"}}, 24, 1610},
        {"bytes out 456", {{Par_DNETS_NB_OUT, "456"}}, 25, 1611},
        {"bytes 0", {{Par_DNETS_NB_IN, "0"}, {Par_DNETS_NB_OUT, "0"}}, 0, 0},
        {"poll 10000000", {{Par_NTP_Poll_Time, "10000000"}}, 0, 0},
        {"poll 10000001", {{Par_NTP_Poll_Time, "10000001"}}, 26, 1921},
        // Unchecked values.
        {"unchecked fields", {{Par_Eth_Conn_Device_Name, "any thing"}, {Par_NTP_Server_URL, "!!"},
                              {Par_TLS_Server_Key, ""}, {Par_TLS_Server_Enable, "on"}}, 0, 0},
        // Only the earliest failing step is reported.
        {"bad DNS hides bad IP", {{Par_Eth_Conn_Enable_DNS, "on"}, {Par_Eth_Conn_Secondary_DNS2, "abc"},
                                  {Par_IEC61850_Server_IP1, "999"}}, 6, 1956},
        {"bad IP hides bad port and poll", {{Par_IEC61850_Server_IP4, "999"}, {Par_IEC61850_Server_Port, "10000"},
                                            {Par_NTP_Poll_Time, ""}}, 12, 610},
        {"bad gateway hides bad node", {{Par_IEC61850_Server_EN_GAT, "on"}, {Par_IEC61850_Server_GAT3, "256"},
                                        {Par_DNETS_ID_DEV, "64"}}, 19, 617},
    };
    const TextTable texts;
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(c.name);
        const auto failure = Controllo_Dati(apply(c.edits), texts);
        if (c.step == 0) {
            EXPECT_FALSE(failure.has_value()) << "step " << failure->step;
            continue;
        }
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->step, c.step);
        EXPECT_EQ(failure->textIndex, c.textIndex);
        EXPECT_EQ(failure->message, texts.text(c.textIndex));
    }
}

TEST(ControlloDati, MessageComesFromTheCurrentTextTable)
{
    TextTable texts;
    texts.setText(1921, QStringLiteral("Errore NTP"));
    const auto failure = Controllo_Dati(ParGen::fileMissing(), texts);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, QStringLiteral("Errore NTP"));
    EXPECT_EQ(failure->row, int(Par_NTP_Poll_Time));
}

} // namespace
