#pragma once
// The connection options shared by every command that uses the bus:
//   --connect DEVICE                     a link device name: /dev/ttyUSB0, COM3, tcp://HOST[:PORT],
//                                        sim, sim:OPTIONS or file:PATH
//   --baud 16457|19200|57600             line speed (default 57600)
//   --interface ms100|locobuffer|pr3     kind of interface (default pr3)

#include "link/LbServer.h"
#include "link/LnThreadComm.h"

#include <QCoreApplication>
#include <QHostAddress>

#include <memory>
#include <string>
#include <vector>

namespace cli {

struct TBusOptions {
    std::string Device;
    TBaudRate Baud = br57600;
    ELocoNetInterface Interface = ePR3;
};

extern const char* const kBusOptionsUsage;

// Takes the connection options out of `args` (the other arguments stay, in order). False with a
// reason for a bad value, a missing value, a malformed device name or when --connect is missing
// (an option that looks like a mistyped connection option is reported as unknown instead).
bool ParseBusOptions(std::vector<std::string>& args, TBusOptions& options, std::string& error);

// The options of the commands that serve the bus to other programs:
//   --tcp [PORT]                         as a LoconetOverTcp server (port 1234 by default)
//   --bind ADDRESS                       the address to listen on (127.0.0.1 by default)
//   --max-clients N, --max-line CHARS, --max-waiting KIB   the limits of the server
struct TServeOptions {
    bool Tcp = false; // --tcp was given
    quint16 Port = 1234;
    QHostAddress Address = QHostAddress(QHostAddress::LocalHost);
    TLbServer::TLimits Limits;
};

extern const char* const kServeOptionsUsage;

// Takes --tcp [PORT], --bind ADDRESS and the limits out of `args`. False with a reason for a bad
// value.
bool ParseServeOptions(std::vector<std::string>& args, TServeOptions& options, std::string& error);

// "ADDRESS:PORT", or "[ADDRESS]:PORT" for IPv6.
std::string EndpointText(const QHostAddress& address, quint16 port);

// The Qt application object a command needs for its event loop; the command keeps it alive for
// as long as it uses the link.
std::unique_ptr<QCoreApplication> MakeCoreApplication();

// Configures `link` with the options and opens it, waiting for a connection made in the
// background. False with the reason when it cannot be opened ("cannot open /dev/ttyACM0:
// Permission denied").
bool OpenBusLink(TLnThreadComm& link, const TBusOptions& options, std::string& error);

// "lost the connection to DEVICE: REASON", for a link that has gone away.
std::string LinkLostText(const TLnThreadComm& link);

// SIGINT and SIGTERM stop the event loop of the running command (checked every 50 ms).
void QuitOnInterrupt();
bool Interrupted();

} // namespace cli
