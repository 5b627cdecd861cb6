#include "core/params/par_gen_check.h"

#include "core/common/text_rules.h"
#include "core/lang/text_table.h"

namespace mirandel {

namespace {

enum class When { Always, DnsEnabled, GatewayEnabled };
enum class Rule { Range, NotBlank, Port };

struct Step {
    When when;
    int row;
    Rule rule;
    qint32 low;
    qint32 high;
    int textIndex;
};

constexpr Step kSteps[] = {
    {When::DnsEnabled, Par_Eth_Conn_Primary_DNS1, Rule::Range, 0, 255, 1951},
    {When::DnsEnabled, Par_Eth_Conn_Primary_DNS2, Rule::Range, 0, 255, 1952},
    {When::DnsEnabled, Par_Eth_Conn_Primary_DNS3, Rule::Range, 0, 255, 1953},
    {When::DnsEnabled, Par_Eth_Conn_Primary_DNS4, Rule::Range, 0, 255, 1954},
    {When::DnsEnabled, Par_Eth_Conn_Secondary_DNS1, Rule::Range, 0, 255, 1955},
    {When::DnsEnabled, Par_Eth_Conn_Secondary_DNS2, Rule::Range, 0, 255, 1956},
    {When::DnsEnabled, Par_Eth_Conn_Secondary_DNS3, Rule::Range, 0, 255, 1957},
    {When::DnsEnabled, Par_Eth_Conn_Secondary_DNS4, Rule::Range, 0, 255, 1958},
    {When::Always, Par_IEC61850_Server_IP1, Rule::Range, 0, 255, 607},
    {When::Always, Par_IEC61850_Server_IP2, Rule::Range, 0, 255, 608},
    {When::Always, Par_IEC61850_Server_IP3, Rule::Range, 0, 255, 609},
    {When::Always, Par_IEC61850_Server_IP4, Rule::Range, 0, 255, 610},
    {When::Always, Par_IEC61850_Server_SM1, Rule::Range, 0, 255, 611},
    {When::Always, Par_IEC61850_Server_SM2, Rule::Range, 0, 255, 612},
    {When::Always, Par_IEC61850_Server_SM3, Rule::Range, 0, 255, 613},
    {When::Always, Par_IEC61850_Server_SM4, Rule::Range, 0, 255, 614},
    {When::GatewayEnabled, Par_IEC61850_Server_GAT1, Rule::Range, 0, 255, 615},
    {When::GatewayEnabled, Par_IEC61850_Server_GAT2, Rule::Range, 0, 255, 616},
    {When::GatewayEnabled, Par_IEC61850_Server_GAT3, Rule::Range, 0, 255, 617},
    {When::GatewayEnabled, Par_IEC61850_Server_GAT4, Rule::Range, 0, 255, 618},
    {When::Always, Par_IEC61850_Server_Port, Rule::Port, 0, 65535, 437},
    {When::Always, Par_IEC61850_Server_Name_Of_Server, Rule::NotBlank, 0, 0, 1961},
    {When::Always, Par_DNETS_ID_DEV, Rule::Range, 0, 63, 1609},
    {When::Always, Par_DNETS_NB_IN, Rule::Range, 0, 455, 1610},
    {When::Always, Par_DNETS_NB_OUT, Rule::Range, 0, 455, 1611},
    {When::Always, Par_NTP_Poll_Time, Rule::Range, 0, 10000000, 1921},
};

bool applies(When when, const ParGen &values)
{
    switch (when) {
    case When::Always:
        return true;
    case When::DnsEnabled:
        return values.flag(Par_Eth_Conn_Enable_DNS);
    case When::GatewayEnabled:
        return values.flag(Par_IEC61850_Server_EN_GAT);
    }
    return true;
}

bool passes(const Step &step, const QString &text)
{
    // A text that is not a number counts as -1 and so fails every range.
    const qint32 value = numericTextOr(text, -1);
    switch (step.rule) {
    case Rule::Range:
        return value >= step.low && value <= step.high;
    case Rule::Port:
        return value >= step.low && value <= step.high && value != 10000;
    case Rule::NotBlank:
        return !isBlankText(text);
    }
    return false;
}

} // namespace

std::optional<ParCheckFailure> Controllo_Dati(const ParGen &values, const TextTable &texts)
{
    int number = 0;
    for (const Step &step : kSteps) {
        ++number;
        if (!applies(step.when, values) || passes(step, values.text(step.row)))
            continue;
        return ParCheckFailure{number, step.row, step.textIndex, texts.text(step.textIndex)};
    }
    return std::nullopt;
}

} // namespace mirandel
