#pragma once
// Controllo_Dati: the checks a parameter set must pass before it is saved.
// They guard what the image builder later packs into bytes and words (octets,
// the TCP port, the DeviceNet node and byte counts, the NTP poll time). The
// steps run in a fixed order and only the first failure is reported, so the
// user sees one message at a time.

#include "core/params/par_gen.h"

#include <QString>
#include <optional>

namespace mirandel {

class TextTable;

struct ParCheckFailure {
    int step = 0;      // 1-based step of the check table
    int row = -1;      // ParRow of the failing field
    int textIndex = 0; // UI text of the message
    QString message;   // that text in the current language
};

// Runs every check in order; nullopt when all pass, otherwise the first
// failing step with its message from `texts`.
std::optional<ParCheckFailure> Controllo_Dati(const ParGen &values, const TextTable &texts);

} // namespace mirandel
