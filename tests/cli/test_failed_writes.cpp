// A write of any file the program saves (Mirandel.xml, ParGen.xml, both
// table files, Ethernet_Update.xml, both banks) that fails part-way, or
// whose final rename fails, or that meets a full disk or a read-only folder,
// leaves the previous file as it was, leaves no stray file, and says why.
//
// The faults are real ones of the file system, set up by the test: a file
// size limit (the device that fails after N bytes), an append-only previous
// file (the rename over it fails), a small full tmpfs, and an immutable
// folder.
// Each needs Linux, and the last three root; a fault that cannot be set up
// here is skipped with the reason.

#include "core/app/app_context.h"
#include "core/app/settings_file.h"
#include "core/iec61850/variable_table.h"
#include "core/image/build_image.h"
#include "core/params/par_gen.h"
#include "core/tls/known_cert_list.h"
#include "core/update/update_descriptor.h"
#include "test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace mirandel;
using namespace mirandel::test;

namespace {

const QString richDir = QStringLiteral(MIRANDEL_FIXTURES "/image/rich");

struct Writer {
    const char *name;
    QStringList files; // relative to the folder
    std::function<bool(const QString &dir, QString *error)> write;
};

QList<Writer> writers()
{
    return {
        {"Mirandel.xml",
         {QStringLiteral("Mirandel.xml")},
         [](const QString &dir, QString *error) {
             AppContext context;
             context.Exe_Dir = dir;
             context.Project_Name = QString(300, u'p');
             return saveSettings(context, error);
         }},
        {"ParGen.xml",
         {QStringLiteral("ParGen.xml")},
         [](const QString &dir, QString *error) {
             return saveParGen(ParGen::fileMissing(), QDir(dir).filePath(QStringLiteral("ParGen.xml")), error);
         }},
        {"IEC61850_Variables.xml",
         {QStringLiteral("IEC61850_Variables.xml")},
         [](const QString &dir, QString *error) {
             GridRows table = makeVariableTable();
             table.setText(0, 1, QString(200, u'v'));
             return saveVariableTable(table, QDir(dir).filePath(QStringLiteral("IEC61850_Variables.xml")), error);
         }},
        {"TLS_Known_Cert.xml",
         {QStringLiteral("TLS_Known_Cert.xml")},
         [](const QString &dir, QString *error) {
             GridRows list = makeKnownCertList();
             list.setText(0, 1, QString(200, u'c'));
             return saveKnownCertList(list, QDir(dir).filePath(QStringLiteral("TLS_Known_Cert.xml")), error);
         }},
        {"Ethernet_Update.xml",
         {QStringLiteral("Ethernet_Update.xml")},
         [](const QString &dir, QString *error) {
             AppContext context;
             context.Exe_Dir = dir;
             context.Master_Dir = QDir(dir).filePath(QStringLiteral("MASTER"));
             context.Project_Dir = QDir(dir).filePath(QStringLiteral("PROJECTS/p"));
             return Compile_XML_Parameter_New_Boot(context, {QStringLiteral("192.168.2.205"), 0, true}, error);
         }},
        {"bank1.bin and bank2.bin",
         {QStringLiteral("bin/bank1.bin"), QStringLiteral("bin/bank2.bin")},
         [](const QString &dir, QString *error) {
             const ImageBuildResult built = Build_Image(ImageSources::inProject(richDir), u',');
             if (!built.ok())
                 return false;
             const ImageError saved = Save_Image_Files(built.image, QDir(dir).filePath(QStringLiteral("bin")));
             *error = saved.describe();
             return !saved.failed();
         }},
    };
}

// Every file below `dir` with its bytes.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    const QDir root(dir);
    std::function<void(const QString &)> walk = [&](const QString &path) {
        const QFileInfoList entries =
            QDir(path).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QFileInfo &info : entries) {
            if (info.isDir())
                walk(info.filePath());
            else
                files.insert(root.relativeFilePath(info.filePath()), readAll(info.filePath()));
        }
    };
    walk(dir);
    return files;
}

// One kind of fault: set up over `dir` after the previous files exist;
// returns an empty text when armed, else why it cannot be here. The
// returned disarm function undoes it.
struct Fault {
    const char *name;
    std::function<QString(const QString &dir, const QStringList &files, std::function<void()> &disarm)> arm;
    bool needsOwnMount = false;
};

#ifdef Q_OS_LINUX
// Sets or clears an inode flag: FS_IMMUTABLE_FL (nothing may change the
// file or folder) or FS_APPEND_FL (the file stays writable, but cannot be
// replaced: a rename over it fails).
bool setFlag(const QString &path, int flag, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | flag) : (flags & ~flag);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}
#endif

QList<Fault> faults()
{
    QList<Fault> list;
#ifdef Q_OS_LINUX
    for (const rlim_t limit : {rlim_t(0), rlim_t(100)}) {
        list.append({limit == 0 ? "write fails at the first byte" : "write fails after 100 bytes",
                     [limit](const QString &, const QStringList &, std::function<void()> &disarm) {
                         rlimit old{};
                         getrlimit(RLIMIT_FSIZE, &old);
                         rlimit cut = old;
                         cut.rlim_cur = limit;
                         auto *previous = std::signal(SIGXFSZ, SIG_IGN);
                         if (setrlimit(RLIMIT_FSIZE, &cut) != 0)
                             return QStringLiteral("setrlimit(RLIMIT_FSIZE) refused");
                         disarm = [old, previous] {
                             setrlimit(RLIMIT_FSIZE, &old);
                             std::signal(SIGXFSZ, previous);
                         };
                         return QString();
                     }});
    }
    list.append({"rename over the previous file fails",
                 [](const QString &dir, const QStringList &files, std::function<void()> &disarm) {
                     // Only the last file: for the banks, bank 1 is then
                     // replaced before bank 2 fails, and must come back.
                     const QString last = QDir(dir).filePath(files.last());
                     if (!setFlag(last, FS_APPEND_FL, true))
                         return QStringLiteral("cannot make a file append-only here (needs root and ext4)");
                     disarm = [last] { setFlag(last, FS_APPEND_FL, false); };
                     return QString();
                 }});
    list.append({"read-only folder", [](const QString &dir, const QStringList &files, std::function<void()> &disarm) {
                     const QString folder = QFileInfo(QDir(dir).filePath(files.first())).path();
                     if (!setFlag(folder, FS_IMMUTABLE_FL, true))
                         return QStringLiteral("cannot make a folder immutable here (needs root)");
                     disarm = [folder] { setFlag(folder, FS_IMMUTABLE_FL, false); };
                     return QString();
                 }});
    list.append({"full disk",
                 [](const QString &dir, const QStringList &, std::function<void()> &disarm) {
                     // The folder is a small tmpfs (mounted by the test);
                     // a filler takes every free block.
                     QFile filler(QDir(dir).filePath(QStringLiteral("filler")));
                     if (!filler.open(QIODevice::WriteOnly))
                         return QStringLiteral("cannot create the filler");
                     const QByteArray block(4096, 'f');
                     while (filler.write(block) == block.size() && filler.flush()) {
                     }
                     filler.close();
                     disarm = [] {};
                     return QString();
                 },
                 true});
#endif
    return list;
}

TEST(FailedWrites, LeaveThePreviousFileIntactAndSayWhy)
{
    const QList<Fault> all = faults();
    if (all.isEmpty())
        GTEST_SKIP() << "the file-system faults need Linux";
    QStringList skipped;
    for (const Fault &fault : all) {
        for (const Writer &writer : writers()) {
            SCOPED_TRACE(std::string(fault.name) + " / " + writer.name);
            QTemporaryDir temp;
            ASSERT_TRUE(temp.isValid());
            QString dir = temp.path();
            [[maybe_unused]] bool mounted = false; // set only where a tmpfs can be mounted
#ifdef Q_OS_LINUX
            if (fault.needsOwnMount) {
                dir = temp.filePath(QStringLiteral("disk"));
                ASSERT_TRUE(QDir().mkpath(dir));
                if (::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, "size=64k") != 0) {
                    skipped.append(QString::fromUtf8(fault.name) + QStringLiteral(": cannot mount a tmpfs here"));
                    continue;
                }
                mounted = true;
            }
#endif
            // The previous files, written without a fault.
            QString error;
            ASSERT_TRUE(writer.write(dir, &error)) << error.toStdString();
            for (const QString &f : writer.files)
                writeAll(QDir(dir).filePath(f), "previous " + f.toUtf8());
            std::function<void()> disarm = [] {};
            const QString why = fault.arm(dir, writer.files, disarm);
            if (!why.isEmpty()) {
                skipped.append(QString::fromUtf8(fault.name) + QStringLiteral(": ") + why);
            } else {
                const QMap<QString, QByteArray> before = snapshot(dir);
                error.clear();
                const bool written = writer.write(dir, &error);
                disarm();
                EXPECT_FALSE(written);
                EXPECT_FALSE(error.isEmpty());
                EXPECT_EQ(snapshot(dir), before) << "a previous file changed or a stray file is left";
                for (const QString &f : writer.files)
                    EXPECT_EQ(readAll(QDir(dir).filePath(f)), "previous " + f.toUtf8());
            }
#ifdef Q_OS_LINUX
            if (mounted)
                ::umount(QFile::encodeName(dir).constData());
#endif
        }
    }
    skipped.removeDuplicates();
    for (const QString &s : skipped)
        std::printf("skipped: %s\n", qPrintable(s));
}

} // namespace
