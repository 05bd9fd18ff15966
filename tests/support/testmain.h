#pragma once

// Several QtTest classes in one test program, so that an area's tests build and link once:
//
//   ORVANE_TEST_MAIN(TestLimits, TestFreqText)
//
// A class in another source file of the same program joins from there with ORVANE_TEST_CLASS(TestTuning); and runs
// after those named. Each class runs as QTEST_MAIN would run it, with the same command line (-functions, a
// function name and -o apply to each); the program fails when any class fails.

#include <QApplication>
#include <QTest>

#include <memory>
#include <vector>

namespace orvanetest {

inline std::vector<std::unique_ptr<QObject> (*)()> &joined()
{
    static std::vector<std::unique_ptr<QObject> (*)()> classes;
    return classes;
}

template<typename Class>
int run(int argc, char *argv[])
{
    Class test;
    return QTest::qExec(&test, argc, argv) != 0 ? 1 : 0;
}

template<typename... Classes>
int runAll(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    int failures = 0;
    ((failures += run<Classes>(argc, argv)), ...);
    for (const auto make : joined())
        failures += QTest::qExec(make().get(), argc, argv) != 0 ? 1 : 0;
    return failures;
}

} // namespace orvanetest

#define ORVANE_TEST_MAIN(...)                                                                                          \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        return orvanetest::runAll<__VA_ARGS__>(argc, argv);                                                            \
    }

#define ORVANE_TEST_CLASS(Class)                                                                                       \
    [[maybe_unused]] static const bool orvaneJoined##Class                                                             \
        = (orvanetest::joined().push_back([] { return std::unique_ptr<QObject>(std::make_unique<Class>()); }), true)
