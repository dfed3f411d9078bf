#include "cli/BusOptions.h"

#include "cli/Commands.h"
#include "sim/SimTransport.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <csignal>

namespace cli {

const char* const kBusOptionsUsage =
    "  --connect DEVICE       /dev/ttyUSB0, /dev/ttyACM0, COM3,\n"
    "                         tcp://HOST[:PORT] (LoconetOverTcp, port 1234 by\n"
    "                         default), sim or sim:OPTIONS (the simulated\n"
    "                         LocoNet), file:PATH (replay raw bytes)\n"
    "  --baud RATE            16457, 19200 or 57600 (default 57600)\n"
    "  --interface KIND       ms100, locobuffer or pr3 (default pr3)\n";

const char* const kServeOptionsUsage =
    "  --tcp [PORT]           as a LoconetOverTcp server, port 1234 by\n"
    "                         default (0: any free port)\n"
    "  --bind ADDRESS         the address to listen on: 127.0.0.1 by default\n"
    "                         (this computer only), 0.0.0.0 or :: for every\n"
    "                         network, or one address of this computer\n"
    "Limits (a client beyond them is told why in a line \"ERROR closing the\n"
    "connection: ...\" and closed; the other clients and the bus carry on):\n"
    "  --max-clients N        clients served at once; more are refused\n"
    "                         (default 64)\n"
    "  --max-line CHARS       the longest line a client may send (default\n"
    "                         4096)\n"
    "  --max-waiting KIB      what may wait for a client that does not read,\n"
    "                         in KiB (default 1024)\n";

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnSignal(int)
{
    gInterrupted = 1;
}

// The number of single-character edits that turn `a` into `b`.
size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The connection option `arg` was probably meant to be, or null.
const char* MistypedBusOption(const std::string& arg)
{
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) return nullptr;
    for (const char* option : {"--connect", "--baud", "--interface"}) {
        // Two slips in a long name, one in a short one (--bind is not a mistyped --baud).
        const std::string name(option);
        if (EditDistance(arg, name) <= (name.size() > 6 ? 2u : 1u)) return option;
    }
    return nullptr;
}

} // namespace

bool ParseBusOptions(std::vector<std::string>& args, TBusOptions& options, std::string& error)
{
    std::vector<std::string> rest;
    bool haveConnect = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a != "--connect" && a != "--baud" && a != "--interface") {
            rest.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        if (a == "--connect") {
            std::string why;
            if (!TLnThreadComm::CheckDeviceName(v, why, CreateSimOrLnTransport)) {
                error = "--connect " + v + ": " + why;
                return false;
            }
            options.Device = v;
            haveConnect = true;
        } else if (a == "--baud") {
            if (v == "16457")
                options.Baud = br16457;
            else if (v == "19200")
                options.Baud = br19200;
            else if (v == "57600")
                options.Baud = br57600;
            else {
                error = "--baud must be 16457, 19200 or 57600, not '" + v + "'";
                return false;
            }
        } else {
            if (v == "ms100")
                options.Interface = eMS100;
            else if (v == "locobuffer")
                options.Interface = eLocoBuffer;
            else if (v == "pr3")
                options.Interface = ePR3;
            else {
                error = "--interface must be ms100, locobuffer or pr3, not '" + v + "'";
                return false;
            }
        }
    }
    if (!haveConnect) {
        for (const auto& a : rest) {
            if (const char* meant = MistypedBusOption(a)) {
                error = "unknown option '" + a + "' (did you mean " + meant + "?)";
                return false;
            }
        }
        error = "--connect DEVICE is required";
        return false;
    }
    args = std::move(rest);
    return true;
}

bool ParseServeOptions(std::vector<std::string>& args, TServeOptions& options, std::string& error)
{
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--tcp") {
            options.Tcp = true;
            if (i + 1 < args.size() && args[i + 1].rfind("-", 0) != 0) {
                long long port = 0;
                if (!ParseNumber(args[++i], 0, 65535, port)) {
                    error = "--tcp port must be from 0 to 65535, not '" + args[i] + "'";
                    return false;
                }
                options.Port = static_cast<quint16>(port);
            }
        } else if (a == "--bind") {
            if (i + 1 >= args.size()) {
                error = "--bind needs an address";
                return false;
            }
            const std::string& v = args[++i];
            QHostAddress address;
            if (v == "localhost") {
                address = QHostAddress(QHostAddress::LocalHost);
            } else if (!address.setAddress(QString::fromStdString(v))) {
                error = "--bind needs an IP address such as 127.0.0.1 or 0.0.0.0, not '" + v + "'";
                return false;
            }
            options.Address = address;
        } else if (a == "--max-clients" || a == "--max-line" || a == "--max-waiting") {
            // The bounds keep the server's memory bounded whatever is asked.
            const long long low = a == "--max-line" ? 80 : 1;
            const long long high = a == "--max-clients" ? 10000 : 1 << 20;
            long long value = 0;
            if (i + 1 >= args.size() || !ParseNumber(args[i + 1], low, high, value)) {
                error = a + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                        (i + 1 < args.size() ? ", not '" + args[i + 1] + "'" : std::string());
                return false;
            }
            ++i;
            if (a == "--max-clients")
                options.Limits.MaxClients = static_cast<size_t>(value);
            else if (a == "--max-line")
                options.Limits.MaxLineLength = static_cast<size_t>(value);
            else
                options.Limits.MaxQueuedBytes = value * 1024;
        } else {
            rest.push_back(a);
        }
    }
    args = std::move(rest);
    return true;
}

std::string EndpointText(const QHostAddress& address, quint16 port)
{
    const std::string host = address.toString().toStdString();
    const bool v6 = address.protocol() == QAbstractSocket::IPv6Protocol;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::unique_ptr<QCoreApplication> MakeCoreApplication()
{
    static int argc = 1;
    static char name[] = "railscope-cli";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return nullptr;
    return std::make_unique<QCoreApplication>(argc, argv);
}

bool OpenBusLink(TLnThreadComm& link, const TBusOptions& options, std::string& error)
{
    UseSimulatedLocoNet(link);
    link.SetDeviceName(options.Device);
    link.SetBaudRate(options.Baud);
    link.SetLocoNetInterface(options.Interface);
    try {
        link.Open();
    } catch (const ELnCommError& e) {
        error = e.what();
        return false;
    }
    if (link.Connecting()) {
        // The transport gives up on its own after a few seconds.
        QEventLoop wait;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
            if (!link.Connecting()) wait.quit();
        });
        poll.start(10);
        wait.exec();
    }
    if (!link.Enabled()) {
        error = "cannot open " + options.Device + ": " + link.LastError();
        return false;
    }
    return true;
}

std::string LinkLostText(const TLnThreadComm& link)
{
    return "lost the connection to " + link.GetDeviceName() + ": " + link.LastError();
}

void QuitOnInterrupt()
{
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [] {
        if (gInterrupted) QCoreApplication::quit();
    });
    timer->start(50);
}

bool Interrupted()
{
    return gInterrupted != 0;
}

} // namespace cli
