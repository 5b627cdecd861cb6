#pragma once
// Building the configuration image from the three project files.
//
// Build_Image is a pure function of ParGen.xml, IEC61850_Variables.xml and
// TLS_Known_Cert.xml (and of the decimal separator used for multiplication
// factors): every build starts from fixed defaults, so nothing of an earlier
// build carries over. A missing file is not an error (its defaults apply); a
// file that exists but cannot be read or parsed stops the build, and so does a
// data block that would not fit the device's 524288 bytes. Save_Image_Files
// then writes bin/bank1.bin and bin/bank2.bin.
//
// The steps are public so that each can be exercised on its own:
// Read_ParGen, Read_IEC61850_Variables and Read_TLS_Known_Cert fill the
// parameter block and the TIEC61850 record; Write_NTP_Area and
// Write_IEC61850_Section lay out the data block.

#include "core/common/decimal.h"
#include "core/common/xml_file.h"
#include "core/image/image_records.h"

#include <QByteArray>
#include <QString>
#include <array>

namespace mirandel {

using ParameterBlock = std::array<quint8, image::Bank1_Size>;

// The three project files the image is built from.
struct ImageSources {
    QString ParGen_File;
    QString IEC61850_Variables_File;
    QString TLS_Known_Cert_File;

    // The three files inside `projectDir`.
    static ImageSources inProject(const QString &projectDir);
};

// Why a build or a save failed.
struct ImageError {
    enum Kind {
        None,
        Unreadable, // a project file exists but cannot be read
        Malformed,  // a project file is not well-formed XML
        Capacity,   // the data block would exceed the device's capacity
        Write       // an image file could not be created or written
    };
    Kind kind = None;
    QString file;    // the file concerned (empty for Capacity)
    QString message; // the reason, in English
    qint64 needed = 0; // Capacity: bytes the data block would need
    qint64 limit = 0;  // Capacity: bytes available

    bool failed() const { return kind != None; }
    // "<file>: <message>", or the message alone when no file is concerned.
    QString describe() const;
};

// The two banks of a finished image.
struct ConfigurationImage {
    QByteArray bank1; // always 2048 bytes
    QByteArray bank2; // the data block, up to its length
};

struct ImageBuildResult {
    ConfigurationImage image; // empty when the build failed
    ImageError error;
    bool ok() const { return !error.failed(); }
};

// Builds the image. `separator` is the decimal separator that multiplication
// factors are converted with (either mark is accepted whichever it is).
ImageBuildResult Build_Image(const ImageSources &sources,
                             QChar separator = Get_Decimal_Separator());

// Writes `binDir`/bank1.bin and `binDir`/bank2.bin (the folder is created when
// missing). Both files are written to temporaries first and replace the old
// files only when both were written completely; on failure the error names
// the file and the reason.
ImageError Save_Image_Files(const ConfigurationImage &image, const QString &binDir);

// --- The build steps ------------------------------------------------------

// The parameter block as every build starts it.
ParameterBlock resetParameterBlock();

// Fills the parameter block, the record and the NTP server name from
// ParGen.xml. A missing file leaves all three as they are.
XmlLoadResult Read_ParGen(const QString &path, ParameterBlock &block, TIEC61850 &record,
                          QString &ntpServerName);

// Fills Variables and Var_Number from the enabled rows of the variable file.
XmlLoadResult Read_IEC61850_Variables(const QString &path, QChar separator, TIEC61850 &record);

// Fills Known_Cert and Known_Cert_Num from the enabled rows of the
// known-certificate file.
XmlLoadResult Read_TLS_Known_Cert(const QString &path, TIEC61850 &record);

// Writes the NTP name area (1024 bytes) at `position`; returns the position
// after it. The name keeps at most 1023 characters so that the area always
// holds its terminating zero byte.
qint64 Write_NTP_Area(const QString &ntpServerName, qint64 position, QByteArray &block);

// Lays out the IEC 61850 section at `position` with device address `base`:
// computes every address field of `record`, then writes the header, the
// tables, the zero byte and the string area. Returns the position after the
// last byte written. When the section would pass `highestOffset`, writes
// nothing, leaves the block as it was, puts the bytes the block would need
// into *needed, and returns -1.
qint64 Write_IEC61850_Section(TIEC61850 &record, quint32 base, qint64 position, QByteArray &block,
                              qint64 highestOffset, qint64 *needed = nullptr);

// Write a text and its zero byte at `position` (the block grows as needed)
// and return the position after it; an empty text writes nothing.
// Put_UTF8_Text stores UTF-8, Put_Byte_Text the low 8 bits of each UTF-16 unit.
qint64 Put_UTF8_Text(const QString &text, qint64 position, QByteArray &block);
qint64 Put_Byte_Text(const QString &text, qint64 position, QByteArray &block);

// Sum of the bytes 0x000..0x7FB as an unsigned 32-bit number.
quint32 parameterBlockChecksum(const quint8 *block);

} // namespace mirandel
