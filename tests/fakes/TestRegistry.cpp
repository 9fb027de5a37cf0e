#include "TestRegistry.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>

#include <cstdio>
#include <vector>

namespace {
struct Entry {
    QString file;
    TestRegistry::Factory factory;
};

std::vector<Entry>& entries() {
    static std::vector<Entry> list;
    return list;
}
} // namespace

namespace TestRegistry {
bool add(const char* sourceFile, Factory factory) {
    entries().push_back({QFileInfo(QString::fromUtf8(sourceFile)).completeBaseName(), std::move(factory)});
    return true;
}

// Usage: tests_AREA FILE [QtTest options]. Runs the classes registered by FILE.cpp.
int run(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [QtTest options]\n", argv[0]);
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    // QtTest sees the program name followed by its own options.
    std::vector<char*> testArgs{argv[0]};
    testArgs.insert(testArgs.end(), argv + 2, argv + argc);
    int testArgc = int(testArgs.size());

    std::vector<const Entry*> chosen;
    for (const Entry& entry : entries()) {
        if (entry.file == file) {
            chosen.push_back(&entry);
        }
    }
    if (chosen.empty()) {
        std::fprintf(stderr, "%s: no tests registered by %s.cpp\n", argv[0], argv[1]);
        return 2;
    }
    QApplication app(testArgc, testArgs.data());
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int failures = 0;
    for (const Entry* entry : chosen) {
        const std::unique_ptr<QObject> test = entry->factory();
        failures += QTest::qExec(test.get(), testArgc, testArgs.data());
    }
    return failures;
}
} // namespace TestRegistry
