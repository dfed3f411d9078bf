#pragma once
// What the host of a bus conversation (the board programmer, discovery and renumbering, the
// layout backup) hands it: each received SV access message, each timer it started that fires, and
// the loss of the link. The conversation answers through its TConversationHost. How one starts is
// its own (which board, which line of the list, which folder); before a start the host tells it
// the kind of interface the link goes through.
//
// A conversation made of others (the backup: a discovery, then a read of every board found) is a
// TComposedConversation.

#include "link/LnTypes.h"
#include "svprog/ConversationHost.h"

#include <cstdint>

class TLNSVProgMessage;

class TBusConversation {
public:
    // How long a command waits for its reply.
    static constexpr uint32_t kTimeoutMs = 5000;

    virtual ~TBusConversation() = default;

    // A received SV access message of the second format, the echo of the conversation's own
    // commands included. The message belongs to the caller and lives only for this call.
    virtual void HandleSVMessage(const TLNSVProgMessage& message) = 0;
    // The reply time-out ran out.
    virtual void TimeoutTimerTimer() = 0;
    // The pause between a good reply and the next command is over.
    virtual void MsgDelayTimerTimer() = 0;
    // The link has gone. The conversations here go on as with a board that stopped answering:
    // their time-outs end them, in their own words.
    virtual void LinkLost() {}
    // No conversation under way (also before the first start).
    virtual bool IsIdle() const = 0;
    // Ends a conversation under way at once, without another command (its window closes, the
    // board it works on goes away).
    virtual void Stop() = 0;

    // A timer the conversation started has fired: hands it to the timer's handler.
    void TimerFired(EConversationTimer timer);

    // The kind of interface the link goes through; PR3 until told otherwise.
    void SetLinkInterface(ELocoNetInterface kind) { LinkInterface = kind; }
    ELocoNetInterface GetLinkInterface() const { return LinkInterface; }
    // An MS100 needs a pause between a good reply and the next command; a LocoBuffer and a PR3 do
    // not.
    bool NeedsMessageDelay() const;

private:
    ELocoNetInterface LinkInterface = ePR3;
};
