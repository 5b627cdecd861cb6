#pragma once
// Inspection of the TLS texts of a project: the server's private key, the
// server and root certificates and the known client certificates, each as
// the PEM text the user pasted. OpenSSL's libcrypto parses them; this code
// only reads what it reports and compares dates, keys and fingerprints.
//
// Every finding is a warning with a stable code (certProblemCode): it never
// blocks a check, a save or a build. Nothing here ever returns key material
// or the key's password.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace mirandel {

class GridRows;
class ParGen;

enum class CertProblem {
    NotPem,          // no readable PEM block of the right kind
    Expired,         // now is after the certificate's end of validity
    NotYetValid,     // now is before its start of validity
    ExpiresSoon,     // it ends within the warning period
    KeyMismatch,     // the server key does not belong to the server certificate
    WrongPassword,   // the key is encrypted and the password does not open it
    WeakKey,         // RSA or DSA under 2048 bits
    WeakSignature,   // signed with MD5 or SHA-1 (or older digests)
    NotIssuedByRoot, // the server certificate does not verify against the root
    Duplicate,       // two known certificates with the same fingerprint
    Missing,         // TLS is on and the key or the server certificate is empty
};

// "not-pem", "expired", "not-yet-valid", "expires-soon", "key-mismatch",
// "wrong-password", "weak-key", "weak-signature", "not-issued-by-root",
// "duplicate", "missing".
QString certProblemCode(CertProblem problem);

// Problems that make the gateway refuse its clients or that leave nothing to
// use (shown in red): key-mismatch, wrong-password, expired, not-pem.
bool isSevereCertProblem(CertProblem problem);

struct CertFinding {
    CertProblem problem;
    QString detail; // in English, for the command line: "ended 2025-03-01", "same as known:2"
};

struct CertificateInfo {
    QString subject;    // "CN=gateway, O=Example, C=IT", most specific first
    QString commonName; // the subject's CN, empty when it has none
    QString issuer;
    QString serialNumber;      // upper-case hex, as openssl x509 -serial prints it
    QDateTime notBefore;       // UTC
    QDateTime notAfter;        // UTC
    QString sha256Fingerprint; // "AB:01:..." upper-case, colon-separated
    QString publicKeyType;     // "RSA", "EC", "DSA", "ED25519", ...
    int publicKeyBits = 0;
    QString signatureAlgorithm; // "sha256WithRSAEncryption"
    bool isCa = false;          // basic constraints say CA
};

struct PrivateKeyInfo {
    bool encrypted = false;
    bool opened = false; // the key could be read (not encrypted, or the password opens it)
    QString keyType;     // set once opened
    int keyBits = 0;
};

struct TlsSlotReport {
    QString slot;                               // "key", "server", "root", "known:1" .. "known:10"
    bool present = false;                       // the slot holds text that is not blank
    std::optional<CertificateInfo> certificate; // a certificate slot whose text could be read
    std::optional<PrivateKeyInfo> key;          // the key slot when it holds a key block
    QList<CertFinding> findings;                // in the order of CertProblem

    bool has(CertProblem problem) const;
    QStringList problemCodes() const;
};

// The TLS texts of a project as its files hold them.
struct TlsTexts {
    bool tlsEnabled = false;
    QString key;
    QString keyPassword;
    QString serverCertificate;
    QString rootCertificate;
    // The certificate text of each row of the known-certificate list, in row
    // order; a blank text is an empty row.
    QStringList knownCertificates;
};

// The TLS texts of a parameter set and a known-certificate list.
TlsTexts tlsTextsOf(const ParGen &parameters, const GridRows &knownList);

struct TlsInspectionOptions {
    QDateTime now = QDateTime::currentDateTimeUtc();
    int warnDays = 30; // expires-soon when the end of validity is nearer than this
};

// Reads one certificate text: nullopt when it holds no readable certificate.
std::optional<CertificateInfo> readCertificate(const QString &pem);

// Reads the key and the server and root certificates and inspects each known
// certificate. One report per slot that holds text, in the order key, server,
// root, known:1 .. known:10; the key and the server slot are reported empty
// with "missing" when TLS is on and they hold nothing.
QList<TlsSlotReport> inspectTls(const TlsTexts &texts, const TlsInspectionOptions &options = {});

// The text a certificate or key file gives a TLS field: a PEM file as its
// text, a DER certificate or key (plain or PKCS#8-encrypted) converted to
// PEM. nullopt when the data is neither.
std::optional<QString> pemTextFromFile(const QByteArray &data);

} // namespace mirandel
