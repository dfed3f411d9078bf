#pragma once
// Where the SV access messages received from the link go, and the news that the link is gone: the
// host of a bus conversation (a window the main window routes them to, the command-line tool).

class TLNSVProgMessage;

class TSVMessageTarget {
public:
    virtual ~TSVMessageTarget() = default;
    // The message belongs to the caller and lives only for this call.
    virtual void HandleSVMessage(const TLNSVProgMessage& message) = 0;
    virtual void LinkLost() = 0;
    // Whether a conversation of this target is under way.
    virtual bool ConversationUnderWay() const { return false; }
};
