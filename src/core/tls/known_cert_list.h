#pragma once
// The list of up to 10 client certificates the gateway's TLS server accepts,
// stored in TLS_Known_Cert.xml as one `row` element per entry with the
// attributes Enable ("Y"/"N"), Certificate and Mnemonic. The Enable column
// carries a real check box; the certificate is kept exactly as pasted, line
// breaks included.

#include "core/common/grid_rows.h"

#include <array>

namespace mirandel {

enum KnownCertField { Cert_Enable, Cert_Certificate, Cert_Mnemonic };

inline constexpr int Known_Cert_Rows = 10;
inline constexpr int Known_Cert_Fields = 3;
inline constexpr const char *Known_Cert_Root = "TLS_Server_Known_Cert";
inline constexpr std::array<const char *, Known_Cert_Fields> Known_Cert_Attributes = {
    "Enable", "Certificate", "Mnemonic"};

// An empty list of 10 rows with its column kinds, already reset.
GridRows makeKnownCertList();

// Every row: box checked, texts empty.
void resetKnownCertList(GridRows &list);

// Resets the list, then fills it from `path`: the box is unchecked only when
// Enable is exactly "N"; a missing Certificate or Mnemonic gives the empty
// text. A file that is missing or cannot be read leaves the reset list.
TableLoadResult loadKnownCertList(const QString &path, GridRows &list);

// Builds the file's document: the rows down to the last one before the first
// row whose certificate is blank; Enable "Y" for a checked box, "N" otherwise.
void buildKnownCertDocument(const GridRows &list, pugi::xml_document &doc);

// buildKnownCertDocument, written atomically. False with the reason in *error.
bool saveKnownCertList(const GridRows &list, const QString &path, QString *error);

} // namespace mirandel
