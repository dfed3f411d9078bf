// Commands that share a LocoNet with other programs: simulate (the simulated LocoNet, on a
// pseudo-terminal and over TCP) and serve (any link, over TCP). Both serve TCP clients through
// the link's LoconetOverTcp server.
#include "cli/BusOptions.h"
#include "cli/Commands.h"

#include "link/LbServer.h"
#include "link/LnThreadComm.h"
#include "link/ServedLink.h"
#include "sim/SimServer.h"

#include <cstdio>

namespace {

void PrintLog(const std::string& command, const std::string& text)
{
    std::fprintf(stderr, "railscope-cli %s: %s\n", command.c_str(), text.c_str());
    std::fflush(stderr);
}

// The first lines of output name where the bus is served: "PTY /dev/pts/N", "TCP ADDRESS:PORT".
void PrintServed(const char* kind, const std::string& where)
{
    std::printf("%s %s\n", kind, where.c_str());
    std::fflush(stdout);
}

// --- simulate ----------------------------------------------------------------------------------

const char* const kSimulateUsage =
    "Usage: railscope-cli simulate [--pty] [--tcp [PORT]] [--bind ADDRESS]\n"
    "                              [--sim OPTIONS]\n"
    "\n"
    "Serves the simulated LocoNet until interrupted (SIGINT or SIGTERM):\n"
    "  --pty                  on a pseudo-terminal, printed first as\n"
    "                         'PTY /dev/pts/N' (the default when neither\n"
    "                         --pty nor --tcp is given)\n"
    "  --sim OPTIONS          what 'sim:OPTIONS' would give, for example\n"
    "                         'boards=ORB4@1000,QXP6@2000/fw3;traffic=on;\n"
    "                         pace=real;drop=0.1;seed=7'\n";

int RunSimulate(const std::vector<std::string>& arguments)
{
    const std::string cmd = "simulate";
    std::vector<std::string> args = arguments;
    cli::TServeOptions serve;
    std::string error;
    if (!cli::ParseServeOptions(args, serve, error)) return cli::UsageError(cmd, error);
    bool pty = false;
    TSimConfig config;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--pty") {
            pty = true;
        } else if (a == "--sim") {
            if (i + 1 >= args.size()) return cli::UsageError(cmd, "--sim needs OPTIONS");
            if (!ParseSimOptions(args[++i], config, error)) return cli::UsageError(cmd, error);
        } else {
            return cli::UnknownArgument(cmd, a);
        }
    }
    if (!pty && !serve.Tcp) pty = true;

    auto app = cli::MakeCoreApplication();
    TSimServer server(config);
    server.SetLimits(serve.Limits);
    server.SetLog([&cmd](const std::string& text) { PrintLog(cmd, text); });
    if (pty) {
        std::string path;
        if (!server.OpenPty(path, error)) {
            PrintLog(cmd, error);
            return 1;
        }
        PrintServed("PTY", path);
    }
    if (serve.Tcp) {
        if (!server.ListenTcp(serve.Port, error, serve.Address)) {
            PrintLog(cmd, error);
            return 1;
        }
        PrintServed("TCP", cli::EndpointText(serve.Address, server.TcpPort()));
    }
    cli::QuitOnInterrupt();
    QCoreApplication::exec();
    return 0;
}

// --- serve -------------------------------------------------------------------------------------

const char* const kServeUsage =
    "Usage: railscope-cli serve --connect DEVICE [--baud RATE]\n"
    "                           [--interface KIND] [--tcp [PORT]]\n"
    "                           [--bind ADDRESS]\n"
    "\n"
    "Shares the LocoNet behind DEVICE with other programs as a LoconetOverTcp\n"
    "(LbServer) server until interrupted (SIGINT or SIGTERM); prints\n"
    "'TCP ADDRESS:PORT' first. Every client gets every message on the bus,\n"
    "those of the other clients included; each of its SEND lines goes to the\n"
    "bus and is answered SENT OK once the interface has echoed it, or SENT\n"
    "ERROR with the reason (also for a SEND line that is not ASCII text).\n"
    "A client beyond the limits below (too many clients, a line that is too\n"
    "long or not text, too much waiting because it stops reading) is told why\n"
    "and dropped; clients coming and going are reported on standard error.\n"
    "When the link is lost the server keeps running and opens it again.\n"
    "Exit status 1 when DEVICE cannot be opened at the start or the port\n"
    "cannot be listened on.\n";

const char* const kServeVersion = "Railscope LocoNet server 1.0";

int RunServe(const std::vector<std::string>& arguments)
{
    const std::string cmd = "serve";
    std::vector<std::string> args = arguments;
    cli::TServeOptions serve;
    cli::TBusOptions bus;
    std::string error;
    if (!cli::ParseServeOptions(args, serve, error) || !cli::ParseBusOptions(args, bus, error))
        return cli::UsageError(cmd, error);
    if (!args.empty()) return cli::UnknownArgument(cmd, args.front());

    auto app = cli::MakeCoreApplication();
    TLocoNetComm link;
    if (!cli::OpenBusLink(link, bus, error)) {
        PrintLog(cmd, error);
        return 1;
    }
    TLbServer server(kServeVersion);
    server.SetLimits(serve.Limits);
    server.SetLog([&cmd](const std::string& text) { PrintLog(cmd, text); });
    TServedLink served(link, server, [&cmd](const std::string& text) { PrintLog(cmd, text); });
    if (!server.Listen(serve.Address, serve.Port, error)) {
        PrintLog(cmd, error);
        return 1;
    }
    PrintServed("TCP", cli::EndpointText(serve.Address, server.Port()));
    cli::QuitOnInterrupt();
    QCoreApplication::exec();
    link.Close();
    return 0;
}

const cli::RegisterCommand kSimulate({"simulate", "serve the simulated LocoNet on a pty or over TCP",
                                      std::string(kSimulateUsage) + cli::kServeOptionsUsage, RunSimulate});
const cli::RegisterCommand kServe({"serve", "share a LocoNet connection with other programs over TCP",
                                   std::string(kServeUsage) + "\nConnection:\n" + cli::kBusOptionsUsage +
                                       "\nServing:\n" + cli::kServeOptionsUsage,
                                   RunServe});

} // namespace
