#pragma once
// What the program makes of a received message: the typed object that routing hands on, and the
// line the monitor shows with "Expand Messages" ticked. Shared by the windows and the command line;
// both come from the table of message types in MessageTable.cpp, and both take the message's type
// as it was classified when the message arrived.

#include "link/LocoNetMessage.h"

#include <memory>
#include <string>

// The decoded text for the kinds that routing types (sensor reports, turnout feedback, switch
// requests, signal messages, the throttle messages, move slots, slot status, loco address, long
// acknowledge and peer transfers), the SV access text for SV access messages of format 2, and the
// plain opcode name and hex bytes for everything else.
std::string ExpandedMessageText(const TLocoNetMessage& msg);

// Takes over msg and returns it as its typed class for the kinds above (TLNSVProgMessage for
// eOPCSVACCESS2), or as a plain TLocoNetMessage otherwise. Never null. The object's virtual Text()
// equals ExpandedMessageText of the message.
std::unique_ptr<TLocoNetMessage> MakeTypedMessage(TLocoNetMessage&& msg);
