#pragma once

// Several QtTest classes in one test program, so that an area's tests build and link once:
//
//   ORVANE_TEST_MAIN(TestLimits, TestFreqText)
//
// Each class runs as QTEST_MAIN would run it, with the same command line (-functions, a function name and -o apply
// to each); the program fails when any class fails.

#include <QApplication>
#include <QTest>

namespace orvanetest {

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
    ((failures += run<Classes>(argc, argv)), ...); // in the order named
    return failures;
}

} // namespace orvanetest

#define ORVANE_TEST_MAIN(...)                                                                                          \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        return orvanetest::runAll<__VA_ARGS__>(argc, argv);                                                            \
    }
