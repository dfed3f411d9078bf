#pragma once
// The simulated LocoNet in this process, with the routing the main window does: every received SV
// access message goes, typed, to the window under test.

#include "link/LnThreadComm.h"
#include "sim/SimTransport.h"
#include "svprog/SVMessageTarget.h"
#include "svprog/SVProgMessage.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TSimLink {
public:
    explicit TSimLink(const std::string& deviceName = "sim:traffic=off")
    {
        UseSimulatedLocoNet(Comm);
        Comm.SetDeviceName(deviceName);
        Comm.SetLocoNetInterface(eLocoBuffer);
        Comm.OnRxMsg = [this](TLnThreadComm*, uint32_t) {
            while (std::unique_ptr<TLocoNetMessage> message = Comm.ReadMessage()) {
                ++Received;
                if (message->MessageType() != eOPCSVACCESS2) continue;
                TLNSVProgMessage sv(std::move(*message));
                if (Target) Target->HandleSVMessage(sv);
            }
        };
        Comm.Open();
    }
    ~TSimLink()
    {
        Comm.OnRxMsg = nullptr;
        Comm.Close();
    }

    TMessageSender Sender()
    {
        return [this](std::unique_ptr<TLocoNetMessage> message) {
            ++Sent;
            Comm.WriteMessage(std::move(message));
        };
    }

    TLocoNetComm Comm;
    TSVMessageTarget* Target = nullptr;
    int Sent = 0;
    int Received = 0;
};
