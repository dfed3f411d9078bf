#include "link/ServedLink.h"

#include "link/LbServer.h"
#include "link/LnThreadComm.h"

#include <algorithm>

TServedLink::TServedLink(TLnThreadComm& link, TLbServer& server, TReport report, QObject* parent)
    : QObject(parent), Link(link), Server(server), Report(std::move(report))
{
    EchoTimer.setSingleShot(true);
    EchoTimer.setInterval(EchoTimeoutMs);
    connect(&EchoTimer, &QTimer::timeout, this, &TServedLink::EchoTimeout);
    ReopenTimer.setInterval(ReopenMs);
    connect(&ReopenTimer, &QTimer::timeout, this, &TServedLink::Reopen);

    Server.SetBus([this](uint64_t id, const uint8_t* bytes, size_t count) { Send(id, bytes, count); });
    Link.OnRxMsg = [this](TLnThreadComm*, uint32_t) { TakeMessages(); };
    Link.OnConnectionChange = [this](TLnThreadComm*) { ConnectionChanged(); };
    if (!Link.Enabled()) ConnectionChanged();
}

TServedLink::~TServedLink()
{
    Link.OnRxMsg = nullptr;
    Link.OnConnectionChange = nullptr;
    Server.SetBus({});
}

std::string TServedLink::LinkReason() const
{
    return Link.LastError().empty() ? std::string("not connected") : Link.LastError();
}

void TServedLink::Send(uint64_t id, const uint8_t* bytes, size_t count)
{
    if (!Link.Enabled()) {
        Server.Sent(id, false, "LocoNet is not connected: " + LinkReason());
        return;
    }
    Awaiting.push_back({id, std::vector<uint8_t>(bytes, bytes + count)});
    if (!EchoTimer.isActive()) EchoTimer.start();
    Link.WriteMessage(std::make_unique<TLocoNetMessage>(bytes, static_cast<uint32_t>(count)));
}

void TServedLink::TakeMessages()
{
    while (auto message = Link.ReadMessage()) {
        const uint8_t* bytes = message->GetData();
        const size_t count = message->GetLength();
        Server.Receive(bytes, count);
        // The echo of a waiting message; any before it were lost on the way.
        auto echoed = std::find_if(Awaiting.begin(), Awaiting.end(), [&](const TAwaited& a) {
            return a.Bytes.size() == count && std::equal(a.Bytes.begin(), a.Bytes.end(), bytes);
        });
        if (echoed != Awaiting.end()) Settle(static_cast<size_t>(echoed - Awaiting.begin()) + 1, true, {});
    }
}

// Settles the first `upTo` waiting messages: the last with `lastOk`, those before it as lost.
void TServedLink::Settle(size_t upTo, bool lastOk, const std::string& reason)
{
    for (size_t i = 0; i < upTo && !Awaiting.empty(); ++i) {
        const TAwaited front = std::move(Awaiting.front());
        Awaiting.pop_front();
        const bool last = i + 1 == upTo;
        if (last && lastOk)
            Server.Sent(front.Id, true, {});
        else
            Server.Sent(front.Id, false, last ? reason : "the interface did not echo the message");
    }
    if (Awaiting.empty())
        EchoTimer.stop();
    else
        EchoTimer.start(); // the next message gets its own time
}

void TServedLink::EchoTimeout()
{
    Settle(1, false, "the interface did not echo the message");
}

void TServedLink::ConnectionChanged()
{
    if (Link.Enabled()) {
        if (Link.Connecting()) return;
        ReopenTimer.stop();
        if (Down) Report(Link.GetDeviceName() + " is open again");
        Down = false;
        return;
    }
    const std::string reason = LinkReason();
    Settle(Awaiting.size(), false, "LocoNet is not connected: " + reason);
    if (!Down) {
        const int ms = ReopenTimer.interval();
        Report("lost the connection to " + Link.GetDeviceName() + ": " + reason + "; opening it again every " +
               (ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms"));
    }
    Down = true;
    if (!ReopenTimer.isActive()) ReopenTimer.start();
}

void TServedLink::Reopen()
{
    if (Link.Enabled()) return; // still connecting
    try {
        Link.Open();
    } catch (const ELnCommError&) {
        return; // the device refused its settings; try again later
    }
    if (Link.Enabled() && !Link.Connecting()) ConnectionChanged();
}
