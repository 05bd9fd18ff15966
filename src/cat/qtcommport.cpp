#include "qtcommport.h"

#include "apppaths.h"
#include "linesettings.h"

#include <QFileInfo>

#include <thread>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#endif

namespace {

QSerialPort::Parity toParity(char p)
{
    switch (p) {
    case 'e':
        return QSerialPort::EvenParity;
    case 'o':
        return QSerialPort::OddParity;
    case 'm':
        return QSerialPort::MarkParity;
    case 's':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits toStopBits(LineSettings::StopBits s)
{
    switch (s) {
    case LineSettings::StopBits::Two:
        return QSerialPort::TwoStop;
    case LineSettings::StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case LineSettings::StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}

} // namespace

QtCommPort::QtCommPort()
{
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
        [this](QSerialPort::SerialPortError error) { noteError(error); });
}

QtCommPort::~QtCommPort()
{
    if (m_port.isOpen())
        m_port.close();
}

QString QtCommPort::deviceFor(int number, const QString &appDir)
{
    if (number < 1 || number > 4)
        return {};
#ifdef Q_OS_WIN
    Q_UNUSED(appDir)
    return QStringLiteral("COM%1").arg(number);
#else
    const QFileInfo link(appDir + QStringLiteral("com%1").arg(number));
    if (link.isSymLink() || link.exists()) {
        // Open the device itself, so that the lock Qt takes names the device and two links to one device clash.
        const QString target = link.canonicalFilePath();
        return target.isEmpty() ? link.absoluteFilePath() : target;
    }
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

bool QtCommPort::setPortOpen(bool open)
{
    if (!open) {
        if (m_port.isOpen())
            m_port.close();
        m_lost = false;
        return true;
    }
    if (portOpen()) {
        m_error = QStringLiteral("port already open");
        return false;
    }
    const QString device = deviceFor(m_number, apppaths::AppDir());
    if (device.isEmpty()) {
        m_error = QStringLiteral("no port number %1").arg(m_number);
        return false;
    }
    const auto line = LineSettings::parse(m_settings);
    if (!line) {
        m_error = QStringLiteral("bad line settings \"%1\"").arg(m_settings);
        return false;
    }
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = m_port.errorString();
        return false;
    }
    const bool configured = m_port.setBaudRate(line->baud) && m_port.setParity(toParity(line->parity))
        && m_port.setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits))
        && m_port.setStopBits(toStopBits(line->stopBits)) && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_error = m_port.errorString();
        m_port.close();
        return false;
    }
    m_byteTime = line->byteTime();
    m_error.clear();
    return true;
}

bool QtCommPort::portOpen() const
{
    return m_port.isOpen() || m_lost;
}

void QtCommPort::noteError(QSerialPort::SerialPortError error)
{
    // What a vanished device looks like on Unix: the descriptor hangs up, reads end or fail, writes fail.
    const bool gone
        = error == QSerialPort::ResourceError || error == QSerialPort::ReadError || error == QSerialPort::WriteError;
    if (!gone || m_lost || !m_port.isOpen())
        return;
    m_lost = true;
    m_error = m_port.errorString();
    // Qt is still inside its read or write here; close once it has returned. A hung-up descriptor is always
    // ready, so leaving its notifier on would keep the event loop busy until then.
    QMetaObject::invokeMethod(
        &m_port, [this] { releaseLostDevice(); }, Qt::QueuedConnection);
}

void QtCommPort::releaseLostDevice()
{
    if (m_lost && m_port.isOpen())
        m_port.close();
}

void QtCommPort::output(const QByteArray &bytes)
{
    releaseLostDevice();
    if (!m_port.isOpen())
        return;
    m_port.write(bytes);
    // Hand the bytes to the driver now rather than at the next turn of the event loop.
    m_port.flush();
}

QByteArray QtCommPort::input()
{
    releaseLostDevice();
    if (!m_port.isOpen())
        return {};
    pullPending();
    return m_inputLen > 0 ? m_port.read(m_inputLen) : m_port.readAll();
}

int QtCommPort::inBufferCount()
{
    releaseLostDevice();
    if (!m_port.isOpen())
        return 0;
    pullPending();
    return static_cast<int>(m_port.bytesAvailable());
}

void QtCommPort::setInBufferCount(int count)
{
    releaseLostDevice();
    if (count != 0 || !m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

int QtCommPort::outBufferCount()
{
    releaseLostDevice();
    if (!m_port.isOpen())
        return 0;
    return static_cast<int>(m_port.bytesToWrite()) + kernelOutputQueue();
}

void QtCommPort::waitForInput(std::chrono::microseconds timeout)
{
    releaseLostDevice();
#ifdef Q_OS_UNIX
    if (m_port.isOpen() && m_port.handle() >= 0) {
        pollfd pfd {static_cast<int>(m_port.handle()), POLLIN, 0};
        // A rest of a second or more (the wire time of a reply at a very low speed) needs its seconds apart.
        const auto ns = std::chrono::nanoseconds(timeout).count();
        const timespec ts {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        // A hung-up descriptor is ready at once, every time: that is the device gone, not input.
        if (::ppoll(&pfd, 1, &ts, nullptr) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)))
            noteError(QSerialPort::ResourceError);
        return;
    }
#endif
    std::this_thread::sleep_for(timeout);
}

void QtCommPort::pullPending()
{
    // Reading goes through Qt's buffer; the event loop is not allowed to run here, so fetch what the driver
    // holds without waiting.
    if (m_port.waitForReadyRead(0))
        return;
    if (m_port.error() == QSerialPort::TimeoutError)
        m_port.clearError();
}

int QtCommPort::kernelOutputQueue() const
{
#if defined(Q_OS_UNIX) && defined(TIOCOUTQ)
    int queued = 0;
    if (m_port.handle() >= 0 && ::ioctl(static_cast<int>(m_port.handle()), TIOCOUTQ, &queued) == 0)
        return queued;
#endif
    return 0;
}
