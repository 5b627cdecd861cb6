#include "test_pki.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace mirandel::test {

namespace {

EVP_PKEY *newKey(TestKey type)
{
    switch (type) {
    case TestKey::Ec256:
        return EVP_EC_gen("P-256");
    case TestKey::Rsa1024:
        return EVP_RSA_gen(1024);
    case TestKey::Rsa2048:
        return EVP_RSA_gen(2048);
    }
    return nullptr;
}

QByteArray bioBytes(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return QByteArray(data, int(size));
}

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

void addExtension(X509 *cert, X509 *issuer, int nid, const char *value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION *ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    check(ext != nullptr, "extension");
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

} // namespace

TestIdentity makeIdentity(const TestCertSpec &spec)
{
    EVP_PKEY *key = newKey(spec.keyType);
    check(key != nullptr, "key generation");
    X509 *cert = X509_new();
    TestIdentity id;
    id.key = std::shared_ptr<void>(key, [](void *p) { EVP_PKEY_free(static_cast<EVP_PKEY *>(p)); });
    id.cert = std::shared_ptr<void>(cert, [](void *p) { X509_free(static_cast<X509 *>(p)); });

    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), spec.serial);
    X509_time_adj_ex(X509_getm_notBefore(cert), spec.notBeforeDays, 0, nullptr);
    X509_time_adj_ex(X509_getm_notAfter(cert), spec.notAfterDays, 0, nullptr);
    X509_set_pubkey(cert, key);
    X509_NAME *name = X509_get_subject_name(cert);
    const QByteArray cn = spec.commonName.toUtf8();
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("Mirandel Test"), -1,
                               -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char *>(cn.constData()), -1,
                               -1, 0);
    X509 *issuerCert = spec.issuer ? static_cast<X509 *>(spec.issuer->cert.get()) : cert;
    EVP_PKEY *issuerKey = spec.issuer ? static_cast<EVP_PKEY *>(spec.issuer->key.get()) : key;
    X509_set_issuer_name(cert, X509_get_subject_name(issuerCert));
    addExtension(cert, issuerCert, NID_basic_constraints, spec.ca ? "critical,CA:TRUE" : "CA:FALSE");
    addExtension(cert, issuerCert, NID_subject_key_identifier, "hash");
    if (spec.issuer)
        addExtension(cert, issuerCert, NID_authority_key_identifier, "keyid:always");
    if (spec.ca)
        addExtension(cert, issuerCert, NID_key_usage, "critical,keyCertSign,cRLSign");
    check(X509_sign(cert, issuerKey, spec.sha1 ? EVP_sha1() : EVP_sha256()) > 0, "signing");

    BIO *bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, cert);
    id.certPem = QString::fromLatin1(bioBytes(bio));
    BIO_free(bio);
    bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PKCS8PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr);
    id.keyPem = QString::fromLatin1(bioBytes(bio));
    BIO_free(bio);
    bio = BIO_new(BIO_s_mem());
    i2d_X509_bio(bio, cert);
    id.certDer = bioBytes(bio);
    BIO_free(bio);
    bio = BIO_new(BIO_s_mem());
    i2d_PKCS8PrivateKey_bio(bio, key, nullptr, nullptr, 0, nullptr, nullptr);
    id.keyDer = bioBytes(bio);
    BIO_free(bio);
    return id;
}

QString encryptedKeyPem(const TestIdentity &identity, const QByteArray &password)
{
    BIO *bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PKCS8PrivateKey(bio, static_cast<EVP_PKEY *>(identity.key.get()), EVP_aes_256_cbc(),
                                  password.constData(), int(password.size()), nullptr, nullptr);
    const QString pem = QString::fromLatin1(bioBytes(bio));
    BIO_free(bio);
    return pem;
}

QByteArray encryptedKeyDer(const TestIdentity &identity, const QByteArray &password)
{
    BIO *bio = BIO_new(BIO_s_mem());
    i2d_PKCS8PrivateKey_bio(bio, static_cast<EVP_PKEY *>(identity.key.get()), EVP_aes_256_cbc(),
                            const_cast<char *>(password.constData()), int(password.size()), nullptr, nullptr);
    const QByteArray der = bioBytes(bio);
    BIO_free(bio);
    return der;
}

} // namespace mirandel::test
