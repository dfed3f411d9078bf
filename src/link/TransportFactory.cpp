#include "link/TransportFactory.h"

#include "link/FileTransport.h"
#include "link/SerialTransport.h"
#include "link/TcpTransport.h"

std::unique_ptr<TLnTransport> CreateLnTransport(const std::string& deviceName, std::string& error)
{
    error.clear();
    if (deviceName.rfind("tcp://", 0) == 0) {
        std::string host;
        quint16 port = 0;
        if (!TTcpTransport::ParseAddress(deviceName, host, port, error)) return nullptr;
        return std::make_unique<TTcpTransport>(host, port);
    }
    if (deviceName.rfind("file:", 0) == 0) {
        if (deviceName.size() == 5) {
            error = "no file named after 'file:'";
            return nullptr;
        }
        return std::make_unique<TFileTransport>(deviceName.substr(5));
    }
    if (deviceName.empty()) {
        error = "no device name";
        return nullptr;
    }
    return std::make_unique<TSerialTransport>(deviceName);
}
