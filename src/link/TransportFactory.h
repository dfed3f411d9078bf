#pragma once
// Which transport a device name stands for. The link itself knows the serial devices, LocoNet
// servers on the network and replayed files; the program adds the simulated LocoNet on top (see
// sim/SimTransport.h), so that the link never depends on the simulator.

#include "link/LnTransport.h"

#include <functional>
#include <memory>
#include <string>

// Makes the transport for a device name; null with `error` set when the name is malformed.
using TTransportFactory =
    std::function<std::unique_ptr<TLnTransport>(const std::string& deviceName, std::string& error)>;

// "tcp://HOST[:PORT]", "file:PATH", anything else a serial device.
std::unique_ptr<TLnTransport> CreateLnTransport(const std::string& deviceName, std::string& error);
