#pragma once
// Dotted IPv4 address texts, edited and stored as four octet texts.

#include <QString>
#include <array>

namespace mirandel {

// Splits a dotted address into its four octet texts (each trimmed).
// Returns true when there are exactly four parts and each is an integer from
// 0 to 255 (a part that is not an integer counts as 1000). The octets are
// written as they are found, also when the result is false.
bool Split_IP_Address(const QString &text, std::array<QString, 4> &octets);

} // namespace mirandel
