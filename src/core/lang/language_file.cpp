#include "core/lang/language_file.h"

#include "core/common/file_read.h"
#include "core/common/text_encoding.h"
#include "core/common/text_rules.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace mirandel {

namespace {

constexpr QChar kPilcrow = QChar(0x00B6);

// At most this many ignored lines are kept as examples; all are counted.
constexpr int kIgnoredLinesKept = 100;

// The largest language file read; a full translation is about 200 KB.
constexpr qint64 kMaxLanguageFile = 256 * 1024 * 1024;

} // namespace

QString decodeLanguageBytes(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder d(QStringDecoder::Utf8);
        return d.decode(view.sliced(3));
    }
    if (view.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d.decode(view.sliced(2));
    }
    if (view.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d.decode(view.sliced(2));
    }
    if (firstInvalidUtf8(bytes) < 0)
        return QString::fromUtf8(bytes);
    return decodeWindows1252(bytes);
}

// Walks the lines in place (CR LF, LF or CR end a line): no copy of the
// whole text and no list of lines, so memory stays near the text's size
// whatever the number of lines.
LanguageReadResult applyLanguageText(const QString &content, TextTable &table)
{
    LanguageReadResult result;
    result.opened = true;
    const QStringView all(content);
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = start;
        while (end < all.size() && all[end] != u'\n' && all[end] != u'\r')
            ++end;
        const QStringView line = trimTextView(all.mid(start, end - start));
        start = end + 1;
        if (end + 1 < all.size() && all[end] == u'\r' && all[end + 1] == u'\n')
            ++start;

        if (!line.startsWith(u"STR"))
            continue;
        auto ignore = [&] {
            ++result.ignored;
            if (result.ignoredLines.size() < kIgnoredLinesKept)
                result.ignoredLines.append(line.toString());
        };
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) {
            ignore();
            continue;
        }
        // The key runs from the 4th character up to two before the '=':
        // the character right before '=' is the layout's blank.
        const qsizetype keyLength = eq - 1 - 3;
        const QStringView key = keyLength > 0 ? trimTextView(line.mid(3, keyLength)) : QStringView();
        const std::optional<qint32> index = numericText(key);
        if (key.isEmpty() || !index || *index < 0 || *index >= TextTable::Text_Count) {
            ignore();
            continue;
        }
        QStringView text = trimTextView(line.mid(eq + 1));
        if (text.isEmpty()) {
            ignore();
            continue;
        }
        const qsizetype remark = text.indexOf(u"/#/");
        if (remark >= 0) {
            text = trimTextView(text.left(remark));
            if (text.isEmpty()) {
                ignore();
                continue;
            }
        }
        if (text.startsWith(kPilcrow))
            text = text.mid(1);
        const qsizetype pilcrow = text.indexOf(kPilcrow);
        if (pilcrow >= 0)
            text = text.left(pilcrow);
        table.setText(*index, text.toString());
        ++result.stored;
        result.storedIndices.insert(*index);
    }
    return result;
}

LanguageReadResult Read_Language_File(const QString &path, TextTable &table)
{
    QByteArray bytes;
    const FileReadResult read = readRegularFile(path, bytes, kMaxLanguageFile);
    if (!read.ok()) {
        LanguageReadResult result;
        result.error = read.message;
        return result;
    }
    return applyLanguageText(decodeLanguageBytes(bytes), table);
}

QString languageFilePath(const QString &languageDir, const QString &languageName)
{
    const QDir dir(languageDir);
    const QString exact = dir.filePath(languageName + QStringLiteral(".lng"));
    if (QFileInfo(exact).isFile())
        return exact;
    // The extension matches without regard to case, as the list offers it.
    for (const QString &file : languageFileList(languageDir)) {
        if (file.size() == languageName.size() + 4 && file.startsWith(languageName))
            return dir.filePath(file);
    }
    return QString();
}

void Load_Language(TextTable &table, QString &languageName, const QString &languageDir)
{
    table.Fill_Default_Texts();
    const QString path = languageFilePath(languageDir, languageName);
    if (!path.isEmpty()) {
        Read_Language_File(path, table);
        return;
    }
    languageName = QStringLiteral("English");
    const QString english = languageFilePath(languageDir, languageName);
    if (!english.isEmpty())
        Read_Language_File(english, table);
}

QStringList languageFileList(const QString &languageDir)
{
    QDir dir(languageDir);
    QStringList names = dir.entryList({QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden | QDir::System,
                                      QDir::NoSort);
    QStringList result;
    for (const QString &name : names) {
        const QFileInfo info(dir.filePath(name));
        if (info.isFile() && !info.isSymLink() && name.endsWith(QStringLiteral(".lng"), Qt::CaseInsensitive))
            result.append(name);
    }
    std::sort(result.begin(), result.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return result;
}

QByteArray writeLanguageFile(const TextTable &table, const QString &title)
{
    QString out;
    out += QStringLiteral("; ") + title + QStringLiteral("\r\n");
    for (int i = 0; i < TextTable::Text_Count; ++i) {
        const QString text = table.text(i);
        const bool needsPilcrows = text.isEmpty() || text.front().unicode() <= 32 || text.back().unicode() <= 32;
        out += QStringLiteral("STR%1 = ").arg(i, 4, 10, QChar(u'0'));
        if (needsPilcrows)
            out += kPilcrow + text + kPilcrow;
        else
            out += text;
        out += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace mirandel
