#pragma once

// Several QtTest classes in one test program, so that an area's tests build and link once:
//
//   ORVANE_TEST_MAIN(TestLimits, TestFreqText)
//
// Each class runs as QTEST_MAIN would run it, with the same command line (-functions, a function name and -o apply
// to each); the program fails when any class fails. And the rows of a data-driven test written as a table:
//
//   orvanetest::table<QByteArray, int>({"hex", "tenHz"}, {{"14550000", 14550000}, {"1455A000", -1}});
//
// each row named by its values, so that a failure says which (`namedTable` takes each row's name first).

#include <QApplication>
#include <QTest>

#include <tuple>

namespace orvanetest {

inline QString tagText(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("\"\"");
    QString shown;
    for (const QChar c : text) // a tag stays on one line
        shown += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
    return shown;
}
inline QString tagText(const QByteArray &text)
{
    return tagText(QString::fromUtf8(text));
}
inline QString tagText(const QLocale &locale)
{
    return locale.name();
}
template<typename T>
QString tagText(const T &) // a value with no short text (a colour) names nothing
{
    return {};
}
template<typename T>
requires std::is_arithmetic_v<T> || std::is_enum_v<T> QString tagText(const T &value)
{
    if constexpr (std::is_enum_v<T>)
        return QString::number(qint64(value));
    else
        return QString::number(value);
}

template<typename... Columns>
void columns(const std::array<const char *, sizeof...(Columns)> &names)
{
    std::apply([](auto... name) { (QTest::addColumn<Columns>(name), ...); }, names);
}

template<typename... Columns>
void table(
    const std::array<const char *, sizeof...(Columns)> &names, std::initializer_list<std::tuple<Columns...>> rows)
{
    columns<Columns...>(names);
    for (const std::tuple<Columns...> &row : rows) {
        QStringList tag;
        std::apply([&](const auto &...value) { ((tag << tagText(value)), ...); }, row);
        tag.removeAll(QString());
        QTestData &data = QTest::newRow(tag.join(u' ').toUtf8().constData());
        std::apply([&](const auto &...value) { ((data << value), ...); }, row);
    }
}

template<typename... Columns>
void namedTable(const std::array<const char *, sizeof...(Columns)> &names,
    std::initializer_list<std::tuple<const char *, Columns...>> rows)
{
    columns<Columns...>(names);
    for (const auto &row : rows) {
        std::apply(
            [](const char *name, const auto &...value) {
                QTestData &data = QTest::newRow(name);
                ((data << value), ...);
            },
            row);
    }
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
    ((failures += run<Classes>(argc, argv)), ...); // in the order named
    return failures;
}

} // namespace orvanetest

#define ORVANE_TEST_MAIN(...)                                                                                          \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        return orvanetest::runAll<__VA_ARGS__>(argc, argv);                                                            \
    }
