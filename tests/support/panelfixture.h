#pragma once

// The whole program against the FT-847 emulator, for end-to-end tests: a temporary application directory with
// a setting.ini naming port 1, the emulator's pseudo-terminal linked there as com1, the real main window on the
// offscreen platform, and every message box and program end recorded instead of shown.

#include "ft847sim.h"
#include "mainassembly.h"
#include "messagebox.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>

class PanelFixture
{
public:
    PanelFixture();
    ~PanelFixture();

    // Starts the emulator and the program (its loading runs, the window is shown). settingsLine is written to
    // setting.ini as it stands (without line end); an empty text writes no file.
    bool start(int baud = 4800, const QByteArray &settingsLine = "\"1\",\"300\",\"4800,n,8,2\",\"F6ABC\",\"JN18EU\"");
    void stop();

    // "Marche", then waits for the radio to be in CAT mode.
    bool switchOn();

    // Runs the event loop until the condition holds or the time passes.
    static bool waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout);
    // Runs the event loop until the emulator has seen `count` frames in all.
    bool waitForFrames(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(3));

    // Runs the event loop until the last frame the radio received is this one.
    bool waitForLastFrame(const QByteArray &frame, std::chrono::milliseconds timeout = std::chrono::seconds(3));

    QList<QByteArray> frames() const; // every frame the radio received, in order
    QList<quint8> opcodes() const;
    static QByteArray frame(std::initializer_list<int> bytes);
    QString dirPath(const QString &name = {}) const;
    // The eight digits the panel shows, most significant first.
    QString shownDigits();

    // Saves a picture of the main window under build/screenshots (or ORVANE_SCREENSHOTS).
    void screenshot(const QString &name) const;

    ft847sim::Ft847Sim &sim() { return *m_sim; }
    MainAssembly &program() { return *m_program; }
    Ft847Controls &c() { return m_program->c; }

    QList<ui::ShownMessage> messages;
    QList<int> programEnds;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ft847sim::Ft847Sim> m_sim;
    std::unique_ptr<MainAssembly> m_program;
};
