#pragma once
// Language files: <name>.lng in the LANGUAGE folder, lines of the form
//   STR0012 = text /#/ remark
// overlaying the built-in English texts of the UI text table.

#include "core/lang/text_table.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

namespace mirandel {

// What reading one language file did.
struct LanguageReadResult {
    bool opened = false;      // the file could be read at all
    int stored = 0;           // entry lines that set a text
    int ignored = 0;          // lines starting with "STR" that set nothing
    QStringList ignoredLines; // the first 100 of them
    QString error;            // why the file could not be read (not opened)
    QSet<int> storedIndices;  // every index that an entry line set, once each
};

// Decodes a language file's bytes: by its byte-order mark (UTF-8, UTF-16 LE,
// UTF-16 BE); without one, as UTF-8 when the bytes are valid UTF-8, else as
// Windows-1252.
QString decodeLanguageBytes(const QByteArray &bytes);

// Applies the entry lines of `content` to `table` (see the reader rules).
LanguageReadResult applyLanguageText(const QString &content, TextTable &table);

// Reads the file at `path` and overlays `table` with its entries. Only a
// regular file is opened; anything else leaves the table as it is.
LanguageReadResult Read_Language_File(const QString &path, TextTable &table);

// The file of language `languageName` in `languageDir`: <name>.lng, the
// extension in any letter case; empty when there is none.
QString languageFilePath(const QString &languageDir, const QString &languageName);

// Fill_Default_Texts, then the file of `languageName` in `languageDir`; when
// that file is missing, `languageName` becomes "English" and English.lng is
// read if present.
void Load_Language(TextTable &table, QString &languageName, const QString &languageDir);

// The language files offered to the user: regular *.lng files directly in
// `languageDir` (read-only files included; the extension in any letter
// case), sorted without regard to case,
// each with its extension.
QStringList languageFileList(const QString &languageDir);

// Builds a language file from `table` in the reader's format: every entry,
// with pilcrows around texts that begin or end with a blank or are empty, so
// that reading the file back gives the same table. UTF-8 with a byte-order
// mark, CR LF line ends.
QByteArray writeLanguageFile(const TextTable &table, const QString &title);

} // namespace mirandel
