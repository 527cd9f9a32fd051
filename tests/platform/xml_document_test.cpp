#include "model/UserError.h"
#include "platform/FileOps.h"
#include "platform/XmlDocument.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

QString ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const UserError& e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST(XmlDocument, WritesDeclarationIndentedUtf8AndReadsTextsBackUnchanged) {
    XmlWriter w;
    XmlOutElement root = w.createRoot("provinces");
    XmlOutElement p = root.addChild("province");
    p.setId(7);
    p.addText("name", QStringLiteral("Île-de-France & <Paris> \"ü\""));
    p.addText("empty", QString());
    p.addText("blank", QStringLiteral("   "));
    p.addText("padded", QStringLiteral("  a b  "));
    const QByteArray bytes = w.toBytes();
    EXPECT_TRUE(bytes.startsWith(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<provinces>\n  <province id=\"7\">\n"));
    EXPECT_TRUE(bytes.contains("<empty></empty>"));

    const XmlReader r = XmlReader::fromBytes(bytes, "t");
    int children = 0;
    for (const XmlInElement e : r.root()) {
        ++children;
        EXPECT_TRUE(e.is("province"));
        EXPECT_EQ(e.id(), 7);
        for (const XmlInElement c : e) {
            if (c.is("name")) {
                EXPECT_EQ(c.text(), QStringLiteral("Île-de-France & <Paris> \"ü\""));
            } else if (c.is("blank")) { // a legend text of spaces is a text
                EXPECT_EQ(c.text(), QStringLiteral("   "));
            } else if (c.is("padded")) {
                EXPECT_EQ(c.text(), QStringLiteral("  a b  "));
            }
        }
    }
    EXPECT_EQ(children, 1);
}

TEST(XmlDocument, WalksElementsOnlySkippingCommentsAndWhitespace) {
    const XmlReader r =
        XmlReader::fromBytes("<r>\n <!-- c --> <a/> text <?pi x?><b>1</b>\n</r>", "t");
    QStringList names;
    for (const XmlInElement e : r.root())
        names << QString::fromUtf8(e.name());
    EXPECT_EQ(names, QStringList({"a", "b"}));
}

TEST(XmlDocument, ReportsMissingMalformedAndBadIds) {
    TempAppFolder app;
    EXPECT_TRUE(
        ErrorOf([&] { XmlReader::load(app.dataPath("none.xml")); }).startsWith("File not found: "));

    app.write("data/bad.xml", "<provinces>\n<regions>3</regions>\n<province>\n</provinces>");
    const QString bad = ErrorOf([&] { XmlReader::load(app.dataPath("bad.xml")); });
    EXPECT_TRUE(bad.contains("bad.xml")) << bad.toStdString();
    EXPECT_TRUE(bad.contains("line 4")) << bad.toStdString();

    EXPECT_TRUE(ErrorOf([] { XmlReader::fromBytes("", "empty.xml"); }).contains("empty.xml"));

    const XmlReader r = XmlReader::fromBytes("<r><a/><b id=\"x\"/><c id=\" 12 \"/></r>", "t");
    std::vector<XmlInElement> e;
    for (const XmlInElement child : r.root())
        e.push_back(child);
    EXPECT_EQ(ErrorOf([&] { e[0].id(); }),
              "Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(ErrorOf([&] { e[1].id(); }),
              "Could not convert variant of type (String) into type (Integer)");
    EXPECT_EQ(e[2].id(), 12);
}

TEST(XmlDocument, DoesNotExpandEntitiesFromADoctype) {
    const XmlReader r = XmlReader::fromBytes(
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r><a>&x;</a></r>", "t");
    for (const XmlInElement e : r.root())
        EXPECT_FALSE(e.text().contains("root:"));
}

TEST(AtomicFiles, AFailedWriteLeavesTheOldFileWhole) {
    TempAppFolder app;
    app.write("data/keep.xml", "old contents");
    WriteFileAtomically(app.dataPath("keep.xml"), "new contents");
    EXPECT_EQ(app.read("data/keep.xml"), "new contents");

    // A target that cannot be replaced (here a folder of that name) must not be touched.
    QDir().mkpath(app.dataPath("blocked.xml"));
    const QString message = ErrorOf([&] { WriteFileAtomically(app.dataPath("blocked.xml"), "x"); });
    EXPECT_TRUE(message.startsWith("Cannot write ")) << message.toStdString();
    EXPECT_TRUE(QFileInfo(app.dataPath("blocked.xml")).isDir());
    EXPECT_TRUE(
        QDir(app.dataPath("")).entryList({"*.tmp*", "blocked.xml.*"}, QDir::Files).isEmpty());

    EXPECT_THROW(CopyFileAtomically(app.dataPath("missing.map"), app.dataPath("keep.xml")),
                 UserError);
    EXPECT_EQ(app.read("data/keep.xml"), "new contents");
}

// The streaming writer must write what pugixml's own writer wrote for the same document,
// byte for byte: every chart file the program ever wrote stays the same.
TEST(XmlDocument, WriterMatchesPugixmlByteForByte) {
    uint32_t seed = 2024;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    const QString alphabet = QStringLiteral("ab &<>\"'\t\n\r\x01\x1f\x7fü東\u00a0-.");
    const auto text = [&] {
        QString t;
        for (uint32_t i = 0, n = next(6); i < n; ++i)
            t += alphabet[static_cast<qsizetype>(next(static_cast<uint32_t>(alphabet.size())))];
        return t;
    };
    for (int doc = 0; doc < 300; ++doc) {
        XmlWriter ours;
        pugi::xml_document theirs;
        pugi::xml_node decl = theirs.append_child(pugi::node_declaration);
        decl.append_attribute("version").set_value("1.0");
        decl.append_attribute("encoding").set_value("utf-8");
        // Builds the same random element in both, `depth` levels deep at most.
        std::function<void(XmlOutElement, pugi::xml_node, int)> fill =
            [&](XmlOutElement o, pugi::xml_node p, int depth) {
                if (next(4) == 0) {
                    const int id = static_cast<int>(next(2000)) - 1000;
                    o.setId(id);
                    p.append_attribute("id").set_value(std::to_string(id).c_str());
                }
                const uint32_t children = depth > 0 ? next(4) : 0;
                for (uint32_t c = 0; c < children; ++c) {
                    const char* name = next(2) ? "province" : "name";
                    fill(o.addChild(name), p.append_child(name), depth - 1);
                }
                if (children == 0 || next(6) == 0) {
                    if (next(5) == 0) return; // no text: an empty element
                    const QString t = text();
                    o.setText(t);
                    p.text().set(t.toUtf8().constData());
                }
            };
        fill(ours.createRoot("provinces"), theirs.append_child("provinces"),
             static_cast<int>(next(4)));
        struct Bytes : pugi::xml_writer {
            QByteArray b;
            void write(const void* data, size_t size) override {
                b.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
            }
        } expected;
        theirs.save(expected, "  ", pugi::format_indent, pugi::encoding_utf8);
        ASSERT_EQ(ours.toBytes(), expected.b) << "document " << doc;
    }
}

TEST(AtomicFiles, ReplacesByRenameSoAHardLinkKeepsTheOldContents) {
    TempAppFolder app;
    app.write("data/chart.xml", "old contents");
    const QString link = app.dataPath("link.xml");
    ASSERT_EQ(::link(QFile::encodeName(app.dataPath("chart.xml")).constData(),
                     QFile::encodeName(link).constData()),
              0);
    WriteFileAtomically(app.dataPath("chart.xml"), "new contents");
    EXPECT_EQ(app.read("data/chart.xml"), "new contents");
    EXPECT_EQ(app.read("data/link.xml"), "old contents");
}

TEST(AtomicFiles, AFullDiskNamesTheReasonAndKeepsTheOldFile) {
    TempAppFolder app;
    app.write("data/chart.xml", "old contents");
    // A file size limit fails the write the way a full disk does, without a disk to fill.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString message =
        ErrorOf([&] { WriteFileAtomically(app.dataPath("chart.xml"), QByteArray(100000, 'x')); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "Cannot write " + QDir::toNativeSeparators(app.dataPath("chart.xml")) +
                           ": " + QString::fromLocal8Bit(strerror(EFBIG)));
    EXPECT_EQ(app.read("data/chart.xml"), "old contents");
    EXPECT_EQ(QDir(app.dataPath("")).entryList(QDir::Files), QStringList{"chart.xml"});
}

TEST(AtomicFiles, WriteProtectedFilesAreRefusedAndLinksWrittenThrough) {
    TempAppFolder app;
    app.write("data/target.xml", "old");
    ASSERT_TRUE(QFile::link(app.dataPath("target.xml"), app.dataPath("alias.xml")));
    WriteFileAtomically(app.dataPath("alias.xml"), "new");
    EXPECT_TRUE(QFileInfo(app.dataPath("alias.xml")).isSymLink());
    EXPECT_EQ(app.read("data/target.xml"), "new");

    QFile::setPermissions(app.dataPath("target.xml"), QFileDevice::ReadOwner);
    if (::access(QFile::encodeName(app.dataPath("target.xml")).constData(), W_OK) == 0)
        GTEST_SKIP() << "running with the rights to write any file";
    EXPECT_TRUE(ErrorOf([&] {
                    WriteFileAtomically(app.dataPath("target.xml"), "x");
                }).startsWith("Cannot write "));
    EXPECT_EQ(app.read("data/target.xml"), "new");
}
