#pragma once
// The connection options shared by every command that uses the bus:
//   --connect DEVICE                     a link device name: /dev/ttyUSB0, COM3, tcp://HOST[:PORT],
//                                        sim, sim:OPTIONS or file:PATH
//   --baud 16457|19200|57600             line speed (default 57600)
//   --interface ms100|locobuffer|pr3     kind of interface (default pr3)

#include "link/LnThreadComm.h"

#include <QCoreApplication>

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
// reason for a bad value, a missing value, a malformed device name or when --connect is missing.
bool ParseBusOptions(std::vector<std::string>& args, TBusOptions& options, std::string& error);

// The Qt application object a command needs for its event loop; the command keeps it alive for
// as long as it uses the link.
std::unique_ptr<QCoreApplication> MakeCoreApplication();

// Configures `link` with the options and opens it. False with a reason when it cannot be opened.
bool OpenBusLink(TLnThreadComm& link, const TBusOptions& options, std::string& error);

// SIGINT and SIGTERM stop the event loop of the running command (checked every 50 ms).
void QuitOnInterrupt();
bool Interrupted();

} // namespace cli
