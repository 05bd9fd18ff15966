#pragma once

// The whole program against an FT-847, for end-to-end tests: a temporary application directory with a setting.ini
// naming port 1, the real main window on the offscreen platform, and every message box and program end recorded
// instead of shown. The radio is on the UART test port (a line that drains at its speed, as a real adapter does),
// or on the emulator's pseudo-terminal linked as com1 and reached through Qt SerialPort, the real serial stack.

#include "ft847sim.h"
#include "mainassembly.h"
#include "messagebox.h"
#include "uarttestport.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class PanelFixture
{
public:
    PanelFixture();
    ~PanelFixture();

    enum class Line { Uart, Pty };

    // Starts the radio and the program (its loading runs, the window is shown). settingsLine is written to
    // setting.ini as it stands (without line end); none names port 1 at this speed; an empty text writes no file.
    bool start(int baud = 4800, std::optional<QByteArray> settingsLine = {}, Line line = Line::Uart);
    void stop();
    // Rows of initTestCase_data(): the tests run at a slow and a fast line speed (column "baud").
    static void baudRows();

    // "Marche", then waits for the radio to be in CAT mode.
    bool switchOn();

    // Runs the event loop until the condition holds or the time passes.
    static bool waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout);
    // Runs the event loop until the radio has received `count` frames in all, or until its last one is `frame`.
    bool waitForFrames(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(3))
    {
        return waitFor([&] { return sim().frames().size() >= count; }, timeout);
    }
    bool waitForLastFrame(const QByteArray &frame, std::chrono::milliseconds timeout = std::chrono::seconds(3))
    {
        return waitFor([&] { return !frames().isEmpty() && frames().constLast() == frame; }, timeout);
    }

    // A click of the left button as the operator makes it: queued with the window system's input, to be handled
    // when the program next takes input. At the widget's centre, or at `at` in its coordinates.
    static void queueClick(QWidget *widget, std::optional<QPoint> at = {}) { clicker(widget, at)(); }
    // The same click, to be made later from any thread.
    static std::function<void()> clicker(QWidget *widget, std::optional<QPoint> at = {});

    QList<QByteArray> frames() const; // every frame the radio received, in order
    // The frames after the first `mark` ones, the status poll's requests left out: what actions sent.
    QList<QByteArray> commandsSince(qsizetype mark) const;
    static bool isPollRequest(const QByteArray &frame);
    static QByteArray frame(std::initializer_list<int> bytes);
    QString dirPath(const QString &name = {}) const { return name.isEmpty() ? m_dir.path() : m_dir.filePath(name); }
    // The eight digits the panel shows, most significant first, and the radio's frequency written the same way.
    QString shownDigits();
    QString radioDigits() const { return QStringLiteral("%1").arg(sim().frequency(), 8, 10, QLatin1Char('0')); }

    // Saves a picture of the main window, or of any window, under build/screenshots (or ORVANE_SCREENSHOTS).
    void screenshot(const QString &name) const { screenshot(m_program->window, name); }
    static void screenshot(QWidget &window, const QString &name);

    ft847sim::RadioPeer &sim() const { return m_uart ? static_cast<ft847sim::RadioPeer &>(*m_uart) : *m_pty; }
    ft847sim::Ft847Sim &pty() { return *m_pty; } // on Line::Pty only
    UartTestPort &uart() { return *m_uart; } // on Line::Uart only
    MainAssembly &program() { return *m_program; }
    Ft847Controls &c() { return m_program->c; }

    QList<ui::ShownMessage> messages;
    QList<int> programEnds;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ft847sim::Ft847Sim> m_pty;
    std::unique_ptr<UartTestPort> m_uart;
    std::unique_ptr<MainAssembly> m_program;
};
