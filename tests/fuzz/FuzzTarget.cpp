#include "FuzzTarget.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
std::vector<FuzzTargetEntry>& Registry() {
    static std::vector<FuzzTargetEntry> targets;
    return targets;
}
} // namespace

bool RegisterFuzzTarget(const char* name, FuzzFunction run) {
    Registry().push_back({name, run});
    return true;
}

const std::vector<FuzzTargetEntry>& FuzzTargets() {
    return Registry();
}

void StartQt() {
    static int argc = 1;
    static char name[] = "mirelva-fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QGuiApplication app(argc, argv);
}

QString FuzzScratchFolder() {
    // In memory where the system offers it: every save syncs its file, and
    // waiting for a disk would slow the fuzzing down tenfold.
    static const QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                          ? QStringLiteral("/dev/shm/mirelva-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/mirelva-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        FuzzFailure("folder.isValid()", __FILE__, __LINE__, QStringLiteral("no temporary folder"));
    }
    return folder.path();
}

void WriteFuzzFile(const QString& path, QByteArrayView data) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(data.data(), data.size()) != data.size()) {
        FuzzFailure("write", __FILE__, __LINE__, path);
    }
}

void FuzzFailure(const char* condition, const char* file, int line, const QString& detail) {
    std::fprintf(stderr, "%s:%d: FUZZ_CHECK(%s) failed: %s\n", file, line, condition, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}
