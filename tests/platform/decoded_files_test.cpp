// Decoded files are reused only while what the file holds is what was decoded.
#include "model/UserError.h"
#include "platform/DecodedFiles.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

using namespace tolvane;

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

TEST(DecodedFiles, ReusedForTheSameContentAndDecodedAnewWhenItChanges) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.xml")),
                  b = dir.filePath(QStringLiteral("b.xml"));
    DecodedFiles<QByteArray> cache(2);
    int decodes = 0;
    const auto load = [&](const QString& path, int variant = 0) {
        return *cache.load(path, variant, [&](const QByteArray& bytes) {
            ++decodes;
            if (bytes.startsWith("bad")) throw UserError(QStringLiteral("damaged"));
            return std::make_shared<const QByteArray>(bytes.toUpper());
        });
    };
    Write(a, "first");
    EXPECT_EQ(load(a), "FIRST");
    Write(b, "first"); // a staged copy of the same content
    EXPECT_EQ(load(b), "FIRST");
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(load(a, 1), "FIRST") << "read as something else";
    EXPECT_EQ(decodes, 2);

    // Rewritten at once, to the same size: never the old content.
    Write(a, "other");
    EXPECT_EQ(load(a), "OTHER");
    // Settled an hour ago and known by its stamp, then changed: read again.
    QFile settled(a);
    ASSERT_TRUE(settled.open(QIODevice::ReadWrite));
    ASSERT_TRUE(settled.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                    QFileDevice::FileModificationTime));
    settled.close();
    EXPECT_FALSE(cache.peek(a, 0)) << "a stamp not yet seen";
    EXPECT_EQ(load(a), "OTHER");
    ASSERT_TRUE(cache.peek(a, 0));
    EXPECT_EQ(*cache.peek(a, 0)->value, "OTHER");
    EXPECT_EQ(cache.peek(a, 0)->content, ContentIdOf("other"));
    Write(a, "third");
    EXPECT_FALSE(cache.peek(a, 0)) << "changed since";
    EXPECT_EQ(load(a), "THIRD");

    // Known without decoding (a file just written): found by its content, made once.
    int makes = 0;
    const auto make = [&] {
        ++makes;
        return std::make_shared<const QByteArray>("KNOWN");
    };
    cache.know(0, ContentIdOf("fourth"), std::nullopt, make);
    cache.know(0, ContentIdOf("fourth"), std::nullopt, make);
    Write(b, "fourth");
    const int decoded = decodes;
    EXPECT_EQ(load(b), "KNOWN");
    EXPECT_EQ(decodes, decoded);
    EXPECT_EQ(makes, 1);

    // Written by the program itself, a file is known by its stamp at once; changed in place
    // right after, to the same size, it is not.
    WriteFileAtomically(a, "fifth");
    EXPECT_EQ(load(a), "FIFTH");
    ASSERT_TRUE(cache.peek(a, 0));
    EXPECT_EQ(*cache.peek(a, 0)->value, "FIFTH");
    Write(a, "sixth");
    EXPECT_FALSE(cache.peek(a, 0));
    EXPECT_EQ(load(a), "SIXTH");
    EXPECT_FALSE(cache.peek(a, 0)) << "a stamp of the system's clock, not yet settled";

    // Keeping none: every load decodes.
    cache.keep(0);
    const int before = decodes;
    load(a);
    load(a);
    EXPECT_EQ(decodes, before + 2);

    // A file that fails to decode is not kept: the next load fails again.
    Write(b, "bad one");
    EXPECT_THROW(load(b), UserError);
    EXPECT_THROW(load(b), UserError);
    EXPECT_THROW(load(dir.filePath(QStringLiteral("missing.xml"))), UserError);
}

TEST(DecodedFiles, ContentBeingDecodedIsWaitedForNotDecodedTwice) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.xml")),
                  b = dir.filePath(QStringLiteral("b.xml"));
    Write(a, "same");
    Write(b, "same");
    DecodedFiles<QByteArray> cache(2);
    std::atomic<int> decodes = 0;
    std::atomic<bool> started = false;
    const auto decode = [&](const QByteArray& bytes) {
        ++decodes;
        started = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (bytes.startsWith("bad")) throw UserError(QStringLiteral("damaged"));
        return std::make_shared<const QByteArray>(bytes.toUpper());
    };
    auto ahead = std::async(std::launch::async, [&] { return *cache.load(a, 0, decode); });
    while (!started)
        std::this_thread::yield();
    EXPECT_EQ(*cache.load(b, 0, decode), "SAME");
    EXPECT_EQ(ahead.get(), "SAME");
    EXPECT_EQ(decodes, 1);

    // A failure reaches the one who waited too, and nothing is kept.
    Write(a, "bad");
    Write(b, "bad");
    started = false;
    auto failing = std::async(std::launch::async, [&] { cache.load(a, 0, decode); });
    while (!started)
        std::this_thread::yield();
    EXPECT_THROW(cache.load(b, 0, decode), UserError);
    EXPECT_THROW(failing.get(), UserError);
    EXPECT_EQ(decodes, 2);
}
