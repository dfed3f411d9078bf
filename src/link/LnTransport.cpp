#include "link/LnTransport.h"

bool TLnTransport::ApplyLineSettings(TBaudRate, ELocoNetInterface, int&)
{
    return true;
}

bool TLnTransport::SetDTR(bool, int&)
{
    return true;
}

void TLnTransport::LogLine(std::string_view text)
{
    if (!Log) return;
    std::string line(text);
    line += "\r\n";
    Log(line);
}
