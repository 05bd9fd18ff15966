#include "panelfixture.h"

#include "apppaths.h"
#include "catframe.h"
#include "clicklabel.h"
#include "dialogs.h"
#include "programend.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

PanelFixture::PanelFixture()
{
    ui::setMessageHandler([this](const ui::ShownMessage &m) { messages.append(m); });
    ui::setProgramEndHandler([this](int code) { programEnds.append(code); });
    // A modal window opened by the program is closed at once as if by its close button.
    ui::setModalHandler([](QDialog &dialog) {
        dialog.reject();
        return int(QDialog::Rejected);
    });
}

PanelFixture::~PanelFixture()
{
    stop();
    ui::setMessageHandler({});
    ui::setProgramEndHandler({});
    ui::setModalHandler({});
    apppaths::setAppDirOverride({});
}

bool PanelFixture::start(int baud, std::optional<QByteArray> settingsLine, Line line)
{
    if (!m_dir.isValid())
        return false;
    apppaths::setAppDirOverride(m_dir.path());
    if (!settingsLine)
        settingsLine = "\"1\",\"300\",\"" + QByteArray::number(baud) + ",n,8,2\",\"F6ABC\",\"JN18EU\"";
    if (!settingsLine->isEmpty() && !testfiles::write(dirPath(QStringLiteral("setting.ini")), *settingsLine + "\r\n"))
        return false;
    if (line == Line::Pty) {
        m_pty = std::make_unique<ft847sim::Ft847Sim>(ft847sim::SimConfig {baud, 0, dirPath(QStringLiteral("com1"))});
        if (!m_pty->start())
            return false;
        m_program = std::make_unique<MainAssembly>();
    } else {
        m_uart = std::make_unique<UartTestPort>();
        m_program = std::make_unique<MainAssembly>(m_uart.get());
    }
    m_program->start();
    return true;
}

void PanelFixture::baudRows()
{
    QTest::addColumn<int>("baud");
    QTest::newRow("4800") << 4800;
    QTest::newRow("57600") << 57600;
}

void PanelFixture::stop()
{
    m_program.reset();
    m_pty.reset();
    m_uart.reset();
}

bool PanelFixture::switchOn()
{
    c().Lab_c_on->click();
    return waitFor([this] { return sim().catOn(); }, std::chrono::seconds(3));
}

bool PanelFixture::waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout)
{
    QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

std::function<void()> PanelFixture::clicker(QWidget *widget, std::optional<QPoint> at)
{
    QWidget *top = widget->window();
    const QPointF local = widget->mapTo(top, at.value_or(widget->rect().center()));
    const QPointF global = top->mapToGlobal(local);
    return [window = top->windowHandle(), local, global] {
        using Input = QWindowSystemInterface;
        Input::handleMouseEvent<Input::AsynchronousDelivery>(
            window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
        Input::handleMouseEvent<Input::AsynchronousDelivery>(
            window, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
    };
}

QList<QByteArray> PanelFixture::frames() const
{
    QList<QByteArray> result;
    for (const auto &f : sim().frames())
        result.append(f.bytes);
    return result;
}

QList<QByteArray> PanelFixture::commandsSince(qsizetype mark) const
{
    QList<QByteArray> commands = frames().mid(mark);
    commands.removeIf(isPollRequest);
    return commands;
}

bool PanelFixture::isPollRequest(const QByteArray &frame)
{
    const auto op = static_cast<quint8>(frame.at(4));
    return op == cat::OpReadReceiverStatus || op == cat::OpReadFrequencyMode
        || op == cat::inSatelliteMode(cat::OpReadFrequencyMode);
}

QByteArray PanelFixture::frame(std::initializer_list<int> bytes)
{
    return QByteArray::fromStdString(std::string(bytes.begin(), bytes.end()));
}

QString PanelFixture::shownDigits()
{
    QString text;
    for (const QLabel *digit : c().digits())
        text += digit->text();
    return text;
}

void PanelFixture::screenshot(QWidget &window, const QString &name)
{
    const QString dir
        = qEnvironmentVariable("ORVANE_SCREENSHOTS", QDir::currentPath() + QStringLiteral("/screenshots"));
    QDir().mkpath(dir);
    window.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}
