#pragma once
// What the dialogs show of a certificate or key inspection: one status line
// (the subject and expiry, or the first problem) with its colour, a tooltip
// with every field and problem, and the loading of a certificate or key file
// into a field. The texts come from the UI text table; each dialog passes the
// indices of its own block.

#include "core/tls/cert_inspection.h"

#include <QColor>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QWidget;

namespace mirandel {

class Prompter;
class TextTable;

inline constexpr int Cert_Problem_Count = int(CertProblem::Missing) + 1;

// Indices of the texts a dialog uses; -1 where it has none.
struct TlsStatusTexts {
    int expires = -1;                               // "%1 - expires %2": subject, date
    int keyPlain = -1;                              // "%1 key, %2 bits"
    int keyEncrypted = -1;                          // "%1 key, %2 bits, encrypted"
    int issuer = -1;                                // "Issuer: %1"
    int validity = -1;                              // "Valid from %1 to %2"
    int fingerprint = -1;                           // "SHA-256: %1"
    std::array<int, Cert_Problem_Count> problems{}; // one per CertProblem; their arguments are fixed by kind
};

enum class StatusLevel { Plain, Warning, Severe };

struct TlsStatus {
    QString line;    // empty for an empty slot without a problem
    QString tooltip; // every field and every problem, one per line
    StatusLevel level = StatusLevel::Plain;
};

// Red for severe problems, amber for the others.
QColor statusColour(StatusLevel level);

// The text of one finding in the dialog's language.
QString findingText(const CertFinding &finding, const TlsSlotReport &report, const TextTable &table,
                    const TlsStatusTexts &texts);

// The status of one slot; a severe problem comes before the others.
TlsStatus tlsStatus(const TlsSlotReport &report, const TextTable &table, const TlsStatusTexts &texts);

// Asks for a file; returns the chosen path or an empty text. Tests replace it.
using FileChooser = std::function<QString(QWidget *parent, const QString &filter)>;
FileChooser platformFileChooser();

// Reads `path` and returns the text for a TLS field (DER converted to PEM);
// on failure shows text `errorText` ("%1" file, "%2" reason) and returns
// nullopt.
std::optional<QString> readTlsFile(QWidget *parent, Prompter &prompter, const TextTable &table, int errorText,
                                   const QString &path);

} // namespace mirandel
