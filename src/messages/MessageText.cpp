#include "messages/MessageText.h"

#include "messages/LNLocoAddrMessage.h"
#include "messages/LNLocoDIRFMessage.h"
#include "messages/LNLocoF9F12Message.h"
#include "messages/LNLocoSNDMessage.h"
#include "messages/LNLocoSPDMessage.h"
#include "messages/LNLongACKMessage.h"
#include "messages/LNMoveSlotMessage.h"
#include "messages/LNPeerXferMessage.h"
#include "messages/LNSEMessage.h"
#include "messages/LNSensFBMessage.h"
#include "messages/LNSwReqMessage.h"
#include "messages/LNToFBMessage.h"
#include "messages/LNWriteSlotStat1Message.h"
#include "svprog/SVProgMessage.h"

std::string ExpandedMessageText(const TLocoNetMessage& msg)
{
    switch (msg.MessageType()) {
    case eOPCLOCOADR: return TLNLocoAddrMessage::TextOf(msg);
    case eOPCMOVESLOTS: return TLNMoveSlotMessage::TextOf(msg);
    case eOPCSLOTSTAT1: return TLNWriteSlotStat1Message::TextOf(msg);
    case eOPCLONGACK: return TLNLongACKMessage::TextOf(msg);
    case eOPCSENS: return TLNSensFBMessage::TextOf(msg);
    case eOPCTOFB: return TLNToFBMessage::TextOf(msg);
    case eOPCSWREQ: return TLNSwReqMessage::TextOf(msg);
    case eOPCLOCOF9F12: return TLNLocoF9F12Message::TextOf(msg);
    case eOPCLOCOSND: return TLNLocoSNDMessage::TextOf(msg);
    case eOPCLOCODIRF: return TLNLocoDIRFMessage::TextOf(msg);
    case eOPCLOCOSPD: return TLNLocoSPDMessage::TextOf(msg);
    case eOPCSVACCESS2: return TLNSVProgMessage::TextOf(msg);
    case eOPCPEERXFER: return TLNPeerXferMessage::TextOf(msg);
    case eOPCSE: return TLNSEMessage::TextOf(msg);
    default: return msg.TLocoNetMessage::Text();
    }
}

namespace {

template <class T> std::unique_ptr<TLocoNetMessage> Typed(TLocoNetMessage&& msg)
{
    return std::make_unique<T>(std::move(msg));
}

} // namespace

std::unique_ptr<TLocoNetMessage> MakeTypedMessage(TLocoNetMessage&& msg)
{
    switch (msg.MessageType()) {
    case eOPCLOCOADR: return Typed<TLNLocoAddrMessage>(std::move(msg));
    case eOPCMOVESLOTS: return Typed<TLNMoveSlotMessage>(std::move(msg));
    case eOPCSLOTSTAT1: return Typed<TLNWriteSlotStat1Message>(std::move(msg));
    case eOPCLONGACK: return Typed<TLNLongACKMessage>(std::move(msg));
    case eOPCSENS: return Typed<TLNSensFBMessage>(std::move(msg));
    case eOPCTOFB: return Typed<TLNToFBMessage>(std::move(msg));
    case eOPCSWREQ: return Typed<TLNSwReqMessage>(std::move(msg));
    case eOPCLOCOF9F12: return Typed<TLNLocoF9F12Message>(std::move(msg));
    case eOPCLOCOSND: return Typed<TLNLocoSNDMessage>(std::move(msg));
    case eOPCLOCODIRF: return Typed<TLNLocoDIRFMessage>(std::move(msg));
    case eOPCLOCOSPD: return Typed<TLNLocoSPDMessage>(std::move(msg));
    case eOPCSVACCESS2: return Typed<TLNSVProgMessage>(std::move(msg));
    case eOPCPEERXFER: return Typed<TLNPeerXferMessage>(std::move(msg));
    case eOPCSE: return Typed<TLNSEMessage>(std::move(msg));
    default: return std::make_unique<TLocoNetMessage>(std::move(msg));
    }
}
