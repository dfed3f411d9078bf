#include "cli/BusOptions.h"

#include "sim/SimTransport.h"

#include <QTimer>

#include <csignal>

namespace cli {

const char* const kBusOptionsUsage =
    "  --connect DEVICE       /dev/ttyUSB0, /dev/ttyACM0, COM3, tcp://HOST[:PORT] (LoconetOverTcp,\n"
    "                         port 1234 by default), sim or sim:OPTIONS (the simulated LocoNet),\n"
    "                         file:PATH (replay raw bytes)\n"
    "  --baud RATE            16457, 19200 or 57600 (default 57600)\n"
    "  --interface KIND       ms100, locobuffer or pr3 (default pr3)\n";

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnSignal(int)
{
    gInterrupted = 1;
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
        error = "--connect DEVICE is required";
        return false;
    }
    args = std::move(rest);
    return true;
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
    if (!link.Enabled()) {
        error = "cannot open " + options.Device;
        return false;
    }
    return true;
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
