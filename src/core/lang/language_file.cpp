#include "core/lang/language_file.h"

#include "core/common/text_rules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace mirandel {

namespace {

constexpr QChar kPilcrow = QChar(0x00B6);

// Windows-1252 code points of the bytes 0x80..0x9F; the other bytes map to
// the Unicode code point of the same value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F)
            out.append(QChar(kCp1252High[b - 0x80]));
        else
            out.append(QChar(char16_t(b)));
    }
    return out;
}

} // namespace

QString decodeLanguageBytes(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder d(QStringDecoder::Utf8);
        return d.decode(bytes.mid(3));
    }
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d.decode(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d.decode(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

LanguageReadResult applyLanguageText(const QString &content, TextTable &table)
{
    LanguageReadResult result;
    result.opened = true;
    QString normalised = content;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    const QStringList lines = normalised.split(u'\n');
    for (const QString &raw : lines) {
        const QString line = trimText(raw);
        if (!line.startsWith(QStringLiteral("STR")))
            continue;
        auto ignore = [&] {
            ++result.ignored;
            result.ignoredLines.append(line);
        };
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) {
            ignore();
            continue;
        }
        // The key runs from the 4th character up to two before the '=':
        // the character right before '=' is the layout's blank.
        const qsizetype keyLength = eq - 1 - 3;
        const QString key = keyLength > 0 ? trimText(QStringView(line).mid(3, keyLength)) : QString();
        const std::optional<qint32> index = numericText(key);
        if (key.isEmpty() || !index || *index < 0 || *index >= TextTable::Text_Count) {
            ignore();
            continue;
        }
        QString text = trimText(QStringView(line).mid(eq + 1));
        if (text.isEmpty()) {
            ignore();
            continue;
        }
        const qsizetype remark = text.indexOf(QStringLiteral("/#/"));
        if (remark >= 0) {
            text = trimText(QStringView(text).left(remark));
            if (text.isEmpty()) {
                ignore();
                continue;
            }
        }
        if (text.startsWith(kPilcrow))
            text.remove(0, 1);
        const qsizetype pilcrow = text.indexOf(kPilcrow);
        if (pilcrow >= 0)
            text.truncate(pilcrow);
        table.setText(*index, text);
        ++result.stored;
        result.storedIndices.insert(*index);
    }
    return result;
}

LanguageReadResult Read_Language_File(const QString &path, TextTable &table)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LanguageReadResult{};
    return applyLanguageText(decodeLanguageBytes(file.readAll()), table);
}

void Load_Language(TextTable &table, QString &languageName, const QString &languageDir)
{
    table.Fill_Default_Texts();
    const QString path = QDir(languageDir).filePath(languageName + QStringLiteral(".lng"));
    if (QFileInfo(path).isFile()) {
        Read_Language_File(path, table);
        return;
    }
    languageName = QStringLiteral("English");
    const QString english = QDir(languageDir).filePath(QStringLiteral("English.lng"));
    if (QFileInfo(english).isFile())
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
        if (info.isFile() && !info.isSymLink() && name.endsWith(QStringLiteral(".lng")))
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
