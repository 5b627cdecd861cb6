#include "core/tls/cert_inspection.h"

#include "core/common/text_rules.h"
#include "core/params/par_gen.h"
#include "core/tls/known_cert_list.h"

#include <QTimeZone>

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>

namespace mirandel {

namespace {

template <auto Free> struct Deleter {
    template <class T> void operator()(T *p) const { Free(p); }
};
using BioPtr = std::unique_ptr<BIO, Deleter<BIO_free_all>>;
using X509Ptr = std::unique_ptr<X509, Deleter<X509_free>>;
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using StorePtr = std::unique_ptr<X509_STORE, Deleter<X509_STORE_free>>;
using StoreCtxPtr = std::unique_ptr<X509_STORE_CTX, Deleter<X509_STORE_CTX_free>>;
using BnPtr = std::unique_ptr<BIGNUM, Deleter<BN_free>>;

// Clears libcrypto's error queue when a reading step ends, so a failed parse
// here never shows up as the reason of an unrelated later failure.
struct ErrorQueueGuard {
    ~ErrorQueueGuard() { ERR_clear_error(); }
};

BioPtr memoryBio(const QByteArray &bytes)
{
    return BioPtr(BIO_new_mem_buf(bytes.constData(), int(bytes.size())));
}

QString bioText(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return size > 0 ? QString::fromUtf8(data, size) : QString();
}

// Never asks anyone for a password: certificates are not encrypted, and a
// text that claims to be must not make libcrypto prompt on a terminal.
int noPassword(char *, int, int, void *)
{
    return 0;
}

struct PasswordState {
    QByteArray password;
    bool asked = false;
};

int givePassword(char *buffer, int size, int, void *user)
{
    auto *state = static_cast<PasswordState *>(user);
    state->asked = true;
    const int n = int(std::min<qsizetype>(size, state->password.size()));
    std::memcpy(buffer, state->password.constData(), size_t(n));
    return n;
}

X509Ptr parseCertificate(const QString &pem)
{
    const QByteArray bytes = pem.toUtf8();
    BioPtr bio = memoryBio(bytes);
    return X509Ptr(bio ? PEM_read_bio_X509(bio.get(), nullptr, noPassword, nullptr) : nullptr);
}

QString nameText(const X509_NAME *name)
{
    BioPtr bio(BIO_new(BIO_s_mem()));
    constexpr unsigned long flags = (ASN1_STRFLGS_RFC2253 & ~ASN1_STRFLGS_ESC_MSB) | XN_FLAG_SEP_CPLUS_SPC
                                    | XN_FLAG_DN_REV | XN_FLAG_FN_SN | XN_FLAG_DUMP_UNKNOWN_FIELDS;
    X509_NAME_print_ex(bio.get(), name, 0, flags);
    return bioText(bio.get());
}

QDateTime asn1Time(const ASN1_TIME *time)
{
    std::tm tm{};
    if (!time || ASN1_TIME_to_tm(time, &tm) != 1)
        return {};
    return QDateTime(QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday), QTime(tm.tm_hour, tm.tm_min, tm.tm_sec),
                     QTimeZone::utc());
}

QString keyTypeName(const EVP_PKEY *key)
{
    switch (EVP_PKEY_get_base_id(key)) {
    case EVP_PKEY_RSA:
        return QStringLiteral("RSA");
    case EVP_PKEY_RSA_PSS:
        return QStringLiteral("RSA-PSS");
    case EVP_PKEY_DSA:
        return QStringLiteral("DSA");
    case EVP_PKEY_EC:
        return QStringLiteral("EC");
    case EVP_PKEY_ED25519:
        return QStringLiteral("ED25519");
    case EVP_PKEY_ED448:
        return QStringLiteral("ED448");
    default:
        if (const char *name = EVP_PKEY_get0_type_name(key))
            return QString::fromLatin1(name);
        return QStringLiteral("unknown");
    }
}

bool isWeakKey(const EVP_PKEY *key)
{
    const int id = EVP_PKEY_get_base_id(key);
    return (id == EVP_PKEY_RSA || id == EVP_PKEY_RSA_PSS || id == EVP_PKEY_DSA) && EVP_PKEY_get_bits(key) < 2048;
}

bool isWeakDigest(int nid)
{
    return nid == NID_md5 || nid == NID_sha1 || nid == NID_md4 || nid == NID_md2 || nid == NID_md5_sha1;
}

int signatureDigest(X509 *cert)
{
    int digest = NID_undef;
    if (X509_get_signature_info(cert, &digest, nullptr, nullptr, nullptr) == 1)
        return digest;
    int pk = NID_undef;
    OBJ_find_sigid_algs(X509_get_signature_nid(cert), &digest, &pk);
    return digest;
}

CertificateInfo describe(X509 *cert)
{
    CertificateInfo info;
    info.subject = nameText(X509_get_subject_name(cert));
    info.issuer = nameText(X509_get_issuer_name(cert));
    const X509_NAME *subject = X509_get_subject_name(cert);
    if (const int at = X509_NAME_get_index_by_NID(subject, NID_commonName, -1); at >= 0) {
        unsigned char *utf8 = nullptr;
        const int length = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, at)));
        if (length >= 0)
            info.commonName = QString::fromUtf8(reinterpret_cast<const char *>(utf8), length);
        OPENSSL_free(utf8);
    }
    if (BnPtr serial{ASN1_INTEGER_to_BN(X509_get0_serialNumber(cert), nullptr)}) {
        if (char *hex = BN_bn2hex(serial.get())) {
            info.serialNumber = QString::fromLatin1(hex);
            OPENSSL_free(hex);
        }
    }
    info.notBefore = asn1Time(X509_get0_notBefore(cert));
    info.notAfter = asn1Time(X509_get0_notAfter(cert));

    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(cert, EVP_sha256(), digest, &length) == 1) {
        info.sha256Fingerprint =
            QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex(':').toUpper());
    }
    if (const EVP_PKEY *key = X509_get0_pubkey(cert)) {
        info.publicKeyType = keyTypeName(key);
        info.publicKeyBits = EVP_PKEY_get_bits(key);
    }
    const int signature = X509_get_signature_nid(cert);
    info.signatureAlgorithm = signature != NID_undef ? QString::fromLatin1(OBJ_nid2ln(signature)) : QString();
    info.isCa = (X509_get_extension_flags(cert) & EXFLAG_CA) != 0;
    return info;
}

QString day(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd"));
}

void addFinding(TlsSlotReport &report, CertProblem problem, const QString &detail = {})
{
    report.findings.append({problem, detail});
}

// Date, key and signature findings every certificate gets.
void inspectCertificate(X509 *cert, const CertificateInfo &info, const TlsInspectionOptions &options,
                        TlsSlotReport &report)
{
    if (info.notAfter.isValid() && options.now > info.notAfter)
        addFinding(report, CertProblem::Expired, QStringLiteral("ended ") + day(info.notAfter));
    else if (info.notAfter.isValid() && info.notAfter <= options.now.addDays(options.warnDays))
        addFinding(report, CertProblem::ExpiresSoon, QStringLiteral("ends ") + day(info.notAfter));
    if (info.notBefore.isValid() && options.now < info.notBefore)
        addFinding(report, CertProblem::NotYetValid, QStringLiteral("starts ") + day(info.notBefore));
    if (const EVP_PKEY *key = X509_get0_pubkey(cert); key && isWeakKey(key))
        addFinding(report, CertProblem::WeakKey,
                   QStringLiteral("%1 %2 bits").arg(info.publicKeyType).arg(info.publicKeyBits));
    if (isWeakDigest(signatureDigest(cert)))
        addFinding(report, CertProblem::WeakSignature, info.signatureAlgorithm);
}

// The verification error that keeps `server` from verifying against `root`
// alone, or an empty text when it verifies. Dates are reported on their own.
QString verifyAgainstRoot(X509 *server, X509 *root)
{
    StorePtr store(X509_STORE_new());
    StoreCtxPtr context(X509_STORE_CTX_new());
    if (!store || !context || X509_STORE_add_cert(store.get(), root) != 1
        || X509_STORE_CTX_init(context.get(), store.get(), server, nullptr) != 1)
        return QStringLiteral("cannot set up the verification");
    X509_VERIFY_PARAM_set_flags(X509_STORE_CTX_get0_param(context.get()),
                                X509_V_FLAG_NO_CHECK_TIME | X509_V_FLAG_PARTIAL_CHAIN);
    if (X509_verify_cert(context.get()) == 1)
        return {};
    return QString::fromLatin1(X509_verify_cert_error_string(X509_STORE_CTX_get_error(context.get())));
}

struct ReadCertificate {
    TlsSlotReport report;
    X509Ptr cert;
};

ReadCertificate readCertificateSlot(const QString &slot, const QString &text, const TlsInspectionOptions &options)
{
    ReadCertificate read;
    read.report.slot = slot;
    read.report.present = !isBlankText(text);
    if (!read.report.present)
        return read;
    read.cert = parseCertificate(text);
    if (!read.cert) {
        addFinding(read.report, CertProblem::NotPem, QStringLiteral("no readable CERTIFICATE block"));
        return read;
    }
    read.report.certificate = describe(read.cert.get());
    inspectCertificate(read.cert.get(), *read.report.certificate, options, read.report);
    return read;
}

void sortFindings(TlsSlotReport &report)
{
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const CertFinding &a, const CertFinding &b) { return int(a.problem) < int(b.problem); });
}

} // namespace

QString certProblemCode(CertProblem problem)
{
    switch (problem) {
    case CertProblem::NotPem:
        return QStringLiteral("not-pem");
    case CertProblem::Expired:
        return QStringLiteral("expired");
    case CertProblem::NotYetValid:
        return QStringLiteral("not-yet-valid");
    case CertProblem::ExpiresSoon:
        return QStringLiteral("expires-soon");
    case CertProblem::KeyMismatch:
        return QStringLiteral("key-mismatch");
    case CertProblem::WrongPassword:
        return QStringLiteral("wrong-password");
    case CertProblem::WeakKey:
        return QStringLiteral("weak-key");
    case CertProblem::WeakSignature:
        return QStringLiteral("weak-signature");
    case CertProblem::NotIssuedByRoot:
        return QStringLiteral("not-issued-by-root");
    case CertProblem::Duplicate:
        return QStringLiteral("duplicate");
    case CertProblem::Missing:
        return QStringLiteral("missing");
    }
    return {};
}

bool isSevereCertProblem(CertProblem problem)
{
    return problem == CertProblem::KeyMismatch || problem == CertProblem::WrongPassword
           || problem == CertProblem::Expired || problem == CertProblem::NotPem;
}

bool TlsSlotReport::has(CertProblem problem) const
{
    return std::any_of(findings.begin(), findings.end(),
                       [problem](const CertFinding &f) { return f.problem == problem; });
}

QStringList TlsSlotReport::problemCodes() const
{
    QStringList codes;
    for (const CertFinding &f : findings)
        codes.append(certProblemCode(f.problem));
    return codes;
}

TlsTexts tlsTextsOf(const ParGen &parameters, const GridRows &knownList)
{
    TlsTexts texts;
    texts.tlsEnabled = parameters.flag(Par_TLS_Server_Enable);
    texts.key = parameters.text(Par_TLS_Server_Key);
    texts.keyPassword = parameters.text(Par_TLS_Server_Key_Password);
    texts.serverCertificate = parameters.text(Par_TLS_Server_Server_Certificate);
    texts.rootCertificate = parameters.text(Par_TLS_Server_Root_Certificate);
    for (int r = 0; r < knownList.rowCount(); ++r)
        texts.knownCertificates.append(knownList.text(r, Cert_Certificate));
    return texts;
}

std::optional<CertificateInfo> readCertificate(const QString &pem)
{
    const ErrorQueueGuard guard;
    X509Ptr cert = parseCertificate(pem);
    if (!cert)
        return std::nullopt;
    return describe(cert.get());
}

QList<TlsSlotReport> inspectTls(const TlsTexts &texts, const TlsInspectionOptions &options)
{
    const ErrorQueueGuard guard;
    QList<TlsSlotReport> reports;

    // The key.
    TlsSlotReport key;
    key.slot = QStringLiteral("key");
    key.present = !isBlankText(texts.key);
    KeyPtr privateKey;
    if (key.present) {
        PasswordState password{texts.keyPassword.toUtf8(), false};
        const QByteArray bytes = texts.key.toUtf8();
        if (BioPtr bio = memoryBio(bytes))
            privateKey.reset(PEM_read_bio_PrivateKey(bio.get(), nullptr, givePassword, &password));
        if (privateKey || password.asked) {
            PrivateKeyInfo info;
            info.encrypted = password.asked;
            info.opened = privateKey != nullptr;
            if (privateKey) {
                info.keyType = keyTypeName(privateKey.get());
                info.keyBits = EVP_PKEY_get_bits(privateKey.get());
                if (isWeakKey(privateKey.get()))
                    addFinding(key, CertProblem::WeakKey,
                               QStringLiteral("%1 %2 bits").arg(info.keyType).arg(info.keyBits));
            } else {
                addFinding(key, CertProblem::WrongPassword,
                           texts.keyPassword.isEmpty() ? QStringLiteral("the key is encrypted and no password is set")
                                                       : QStringLiteral("the password does not open the key"));
            }
            key.key = info;
        } else {
            addFinding(key, CertProblem::NotPem, QStringLiteral("no readable PRIVATE KEY block"));
        }
    } else if (texts.tlsEnabled) {
        addFinding(key, CertProblem::Missing, QStringLiteral("TLS is on and the key is empty"));
    }

    // The server and root certificates.
    ReadCertificate server = readCertificateSlot(QStringLiteral("server"), texts.serverCertificate, options);
    if (!server.report.present && texts.tlsEnabled)
        addFinding(server.report, CertProblem::Missing,
                   QStringLiteral("TLS is on and the server certificate is empty"));
    ReadCertificate root = readCertificateSlot(QStringLiteral("root"), texts.rootCertificate, options);

    if (privateKey && server.cert) {
        const EVP_PKEY *certificateKey = X509_get0_pubkey(server.cert.get());
        if (!certificateKey || EVP_PKEY_eq(certificateKey, privateKey.get()) != 1)
            addFinding(key, CertProblem::KeyMismatch,
                       QStringLiteral("the key does not belong to the server certificate"));
    }
    if (server.cert && root.cert) {
        const QString error = verifyAgainstRoot(server.cert.get(), root.cert.get());
        if (!error.isEmpty())
            addFinding(server.report, CertProblem::NotIssuedByRoot, error);
    }

    for (TlsSlotReport *report : {&key, &server.report, &root.report}) {
        if (report->present || !report->findings.isEmpty()) {
            sortFindings(*report);
            reports.append(*report);
        }
    }

    // The known certificates.
    QList<TlsSlotReport> known;
    for (qsizetype i = 0; i < texts.knownCertificates.size(); ++i) {
        ReadCertificate read =
            readCertificateSlot(QStringLiteral("known:%1").arg(i + 1), texts.knownCertificates[i], options);
        if (read.report.present)
            known.append(std::move(read.report));
    }
    for (TlsSlotReport &report : known) {
        if (!report.certificate)
            continue;
        QStringList same;
        for (const TlsSlotReport &other : known) {
            if (&other != &report && other.certificate
                && other.certificate->sha256Fingerprint == report.certificate->sha256Fingerprint)
                same.append(other.slot);
        }
        if (!same.isEmpty())
            addFinding(report, CertProblem::Duplicate, QStringLiteral("same as ") + same.join(QStringLiteral(", ")));
        sortFindings(report);
    }
    reports.append(known);
    return reports;
}

std::optional<QString> pemTextFromFile(const QByteArray &data)
{
    const ErrorQueueGuard guard;
    if (data.contains("-----BEGIN ")) {
        QByteArray text = data;
        if (text.startsWith("\xEF\xBB\xBF"))
            text.remove(0, 3);
        return QString::fromUtf8(text);
    }
    BioPtr out(BIO_new(BIO_s_mem()));
    const auto *begin = reinterpret_cast<const unsigned char *>(data.constData());
    const auto whole = [&](const unsigned char *end) { return end == begin + data.size(); };

    const unsigned char *p = begin;
    if (X509Ptr cert{d2i_X509(nullptr, &p, long(data.size()))}; cert && whole(p)) {
        if (PEM_write_bio_X509(out.get(), cert.get()) == 1)
            return bioText(out.get());
        return std::nullopt;
    }
    p = begin;
    if (std::unique_ptr<X509_SIG, Deleter<X509_SIG_free>> sig{d2i_X509_SIG(nullptr, &p, long(data.size()))};
        sig && whole(p)) {
        if (PEM_write_bio_PKCS8(out.get(), sig.get()) == 1)
            return bioText(out.get());
        return std::nullopt;
    }
    p = begin;
    if (KeyPtr key{d2i_AutoPrivateKey(nullptr, &p, long(data.size()))}; key && whole(p)) {
        if (PEM_write_bio_PrivateKey(out.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1)
            return bioText(out.get());
    }
    return std::nullopt;
}

} // namespace mirandel
