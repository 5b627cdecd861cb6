#pragma once
// A small certificate authority for tests and benchmarks: keys and X.509
// certificates made with libcrypto at run time, returned as PEM and DER.

#include <QByteArray>
#include <QString>
#include <memory>

namespace mirandel::test {

struct TestIdentity {
    QString keyPem;    // unencrypted PKCS#8 "PRIVATE KEY"
    QString certPem;   // "CERTIFICATE"
    QByteArray keyDer; // unencrypted PKCS#8, DER
    QByteArray certDer;
    std::shared_ptr<void> key;  // EVP_PKEY, for signing further certificates
    std::shared_ptr<void> cert; // X509
};

enum class TestKey { Ec256, Rsa1024, Rsa2048 };

struct TestCertSpec {
    QString commonName = QStringLiteral("test");
    TestKey keyType = TestKey::Ec256;
    int notBeforeDays = -1; // start of validity, in days from now
    int notAfterDays = 365; // end of validity, in days from now
    bool sha1 = false;      // sign with SHA-1 instead of SHA-256
    bool ca = false;        // basic constraints CA:TRUE
    long serial = 1;
    const TestIdentity *issuer = nullptr; // self-signed when null
};

// A new key and a certificate for it, as the spec says.
TestIdentity makeIdentity(const TestCertSpec &spec = {});

// The identity's key, encrypted with AES-256 under `password`, as PEM
// ("ENCRYPTED PRIVATE KEY") or as DER.
QString encryptedKeyPem(const TestIdentity &identity, const QByteArray &password);
QByteArray encryptedKeyDer(const TestIdentity &identity, const QByteArray &password);

} // namespace mirandel::test
