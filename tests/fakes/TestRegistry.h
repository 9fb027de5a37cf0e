#pragma once

#include <QObject>

#include <functional>
#include <memory>

// The tests of one area (tests/<area>/*.cpp) are linked into one executable; each file registers
// its test classes here, and ctest runs each file in a process of its own (the file's name is
// the executable's first argument), so files never share program-wide state.
namespace TestRegistry {
using Factory = std::function<std::unique_ptr<QObject>()>;
bool add(const char* sourceFile, Factory factory);
int run(int argc, char** argv);
} // namespace TestRegistry

#define MIRELVA_TEST(Class)                                                                                  \
    namespace {                                                                                              \
    [[maybe_unused]] const bool registered##Class =                                                          \
        TestRegistry::add(__FILE__, [] { return std::make_unique<Class>(); });                               \
    }
