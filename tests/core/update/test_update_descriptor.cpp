#include "core/app/app_context.h"
#include "core/common/xml_file.h"
#include "core/update/update_descriptor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

const QString kMaster = QStringLiteral("/ws/MASTER");
const QString kProject = QStringLiteral("/ws/PROJECTS/P1");

const std::vector<std::string> kOperationElements = {
    "Ope_Protection_Enabled", "Ope_GoToBoot_Before", "Ope_GoToApp_Before", "Ope_IP_Address",
    "Ope_Port", "Ope_Port_Sec", "Ope_Erase_Memory", "Ope_FileName", "Ope_Start_Address",
    "Ope_Memory_Type", "Ope_Bank_Type", "Ope_Read_Back", "Ope_Write_CSS", "Ope_Address_CSS",
    "Ope_Command_CSS", "Ope_Write_Internal_Data", "Ope_WID_Address", "Ope_WID_Command",
    "Ope_WID_Data", "Ope_GoToApp_After"};

std::vector<std::string> childNames(const pugi::xml_node &node)
{
    std::vector<std::string> names;
    for (const pugi::xml_node &child : node.children())
        names.emplace_back(child.name());
    return names;
}

std::string text(const pugi::xml_node &node, const char *name)
{
    return node.child(name).text().get();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(UpdateDescriptor, FullUpdateMatchesTheReferenceFileByteForByte)
{
    pugi::xml_document doc;
    buildUpdateDescriptor(doc, {QStringLiteral("192.168.2.205"), 0, true}, kMaster, kProject);
    const QByteArray expected = readFile(QStringLiteral(MIRANDEL_FIXTURES "/update/Ethernet_Update_full.xml"));
    ASSERT_FALSE(expected.isEmpty());
    // Paths carry the platform's separators; the reference file uses '/'.
    const QString written = QDir::fromNativeSeparators(QString::fromUtf8(serializeXml(doc)));
    EXPECT_EQ(written.toStdString(), expected.toStdString());
}

struct ExpectedOperation {
    const char *file;
    const char *start;
    const char *bank;
    const char *writeCss;
};

TEST(UpdateDescriptor, OperationsFollowTheOptionAndReadBack)
{
    const ExpectedOperation firmware{"/ws/MASTER/Sim51830.sim", "0x8000", "1", "1"};
    const ExpectedOperation bank1{"/ws/PROJECTS/P1/bin/bank1.bin", "0x07000", "2", "0"};
    const ExpectedOperation bank2{"/ws/PROJECTS/P1/bin/bank2.bin", "0x80000", "2", "0"};
    const struct {
        int option;
        std::vector<ExpectedOperation> operations;
    } cases[] = {{0, {firmware, bank1, bank2}}, {1, {firmware}}, {2, {bank1, bank2}}};

    for (const auto &c : cases) {
        for (const bool readBack : {true, false}) {
            SCOPED_TRACE(testing::Message() << "option " << c.option << " read back " << readBack);
            pugi::xml_document doc;
            buildUpdateDescriptor(doc, {QStringLiteral("10.0.0.7"), c.option, readBack}, kMaster, kProject);

            ASSERT_EQ(std::distance(doc.children().begin(), doc.children().end()), 1);
            const pugi::xml_node root = doc.first_child();
            EXPECT_STREQ(root.name(), "Ethernet_Update");
            EXPECT_EQ(childNames(root),
                      (std::vector<std::string>{"Version", "Title", "IP_Address_Dev", "Application_Port",
                                                "Boot_Port", "Boot_Port_Sec", "Address_Protection",
                                                "Protections", "Operations"}));
            EXPECT_EQ(text(root, "IP_Address_Dev"), "10.0.0.7");
            EXPECT_EQ(childNames(root.child("Protections")), std::vector<std::string>{"Protection"});

            const pugi::xml_node operations = root.child("Operations");
            std::vector<pugi::xml_node> ops(operations.children().begin(), operations.children().end());
            ASSERT_EQ(ops.size(), c.operations.size());
            for (size_t i = 0; i < ops.size(); ++i) {
                SCOPED_TRACE(testing::Message() << "operation " << i);
                EXPECT_STREQ(ops[i].name(), "Operation");
                EXPECT_EQ(childNames(ops[i]), kOperationElements);
                const QString file = QDir::fromNativeSeparators(QString::fromStdString(text(ops[i], "Ope_FileName")));
                EXPECT_EQ(file.toStdString(), c.operations[i].file);
                EXPECT_EQ(text(ops[i], "Ope_Start_Address"), c.operations[i].start);
                EXPECT_EQ(text(ops[i], "Ope_Bank_Type"), c.operations[i].bank);
                EXPECT_EQ(text(ops[i], "Ope_Write_CSS"), c.operations[i].writeCss);
                EXPECT_EQ(text(ops[i], "Ope_Read_Back"), readBack ? "1" : "0");
                EXPECT_EQ(text(ops[i], "Ope_GoToApp_After"), i + 1 == ops.size() ? "1" : "0");
                EXPECT_EQ(text(ops[i], "Ope_Protection_Enabled"), "");
                EXPECT_EQ(text(ops[i], "Ope_IP_Address"), "");
            }
        }
    }
}

TEST(UpdateDescriptor, FileNamesUseTheNativeSeparators)
{
    pugi::xml_document doc;
    buildUpdateDescriptor(doc, {QStringLiteral("1.2.3.4"), 2, true}, kMaster, kProject);
    const QString file = QString::fromStdString(
        text(doc.first_child().child("Operations").first_child(), "Ope_FileName"));
    EXPECT_EQ(file, QDir::toNativeSeparators(kProject + QStringLiteral("/bin/bank1.bin")));
}

TEST(UpdateDescriptor, JoinsTheOctetTextsAsTyped)
{
    EXPECT_EQ(joinIpOctets({QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"), QStringLiteral("205")}),
              QStringLiteral("192.168.2.205"));
}

TEST(UpdateDescriptor, EachUpdateReplacesTheWholeFileInTheWorkspaceRoot)
{
    QTemporaryDir dir;
    AppContext context;
    context.Exe_Dir = dir.path();
    context.Master_Dir = dir.filePath(QStringLiteral("MASTER"));
    context.Project_Dir = dir.filePath(QStringLiteral("PROJECTS/P1"));
    QString error;
    ASSERT_TRUE(Compile_XML_Parameter_New_Boot(context, {QStringLiteral("192.168.2.205"), 0, true}, &error))
        << error.toStdString();
    ASSERT_TRUE(Compile_XML_Parameter_New_Boot(context, {QStringLiteral("10.0.0.7"), 1, false}, &error))
        << error.toStdString();

    const QString path = dir.filePath(QStringLiteral("Ethernet_Update.xml"));
    EXPECT_EQ(updateDescriptorPath(context.Exe_Dir), path);
    pugi::xml_document doc;
    ASSERT_TRUE(loadXmlFile(path, doc).ok());
    const pugi::xml_node root = doc.first_child();
    EXPECT_EQ(text(root, "IP_Address_Dev"), "10.0.0.7");
    const pugi::xml_node operations = root.child("Operations");
    ASSERT_EQ(std::distance(operations.children().begin(), operations.children().end()), 1);
    EXPECT_EQ(text(operations.first_child(), "Ope_Bank_Type"), "1");
    EXPECT_EQ(text(operations.first_child(), "Ope_Read_Back"), "0");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Ethernet_Update.xml")});
}

TEST(UpdateDescriptor, WriteFailuresAndBadOptionsAreReported)
{
    QTemporaryDir dir;
    AppContext context;
    context.Exe_Dir = dir.filePath(QStringLiteral("missing/folder"));
    QString error;
    EXPECT_FALSE(Compile_XML_Parameter_New_Boot(context, {QStringLiteral("1.2.3.4"), 0, true}, &error));
    EXPECT_FALSE(error.isEmpty());

    context.Exe_Dir = dir.path();
    for (const int option : {-1, 3}) {
        error.clear();
        EXPECT_FALSE(Compile_XML_Parameter_New_Boot(context, {QStringLiteral("1.2.3.4"), option, true}, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(updateDescriptorPath(dir.path())));
}

} // namespace
