#include "FuzzTarget.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

// Usage: fuzz_replay TARGET FOLDER...: runs TARGET over every file of the
// folders (the seed corpus, the saved regression inputs). A crash or a broken
// check ends the process; no input at all is a failure too.
int main(int argc, char** argv) {
    StartQt();
    const FuzzTargetEntry* target = nullptr;
    for (const FuzzTargetEntry& entry : FuzzTargets()) {
        if (argc > 1 && std::strcmp(entry.name, argv[1]) == 0) {
            target = &entry;
        }
    }
    if (target == nullptr) {
        std::fprintf(stderr, "unknown fuzz target\n");
        return 2;
    }
    int inputs = 0;
    for (int i = 2; i < argc; ++i) {
        const QDir folder(QString::fromLocal8Bit(argv[i]));
        for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
                return 1;
            }
            std::fprintf(stderr, "%s\n", qPrintable(file.fileName()));
            target->run(file.readAll());
            ++inputs;
        }
    }
    std::fprintf(stderr, "%d inputs passed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
