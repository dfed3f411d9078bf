#include "messages/MessageKind.h"

#include "svprog/SVProgMessage.h"

const char* MessageKindName(EMessageKind kind)
{
    switch (kind) {
    case EMessageKind::Power: return "Power";
    case EMessageKind::Sensors: return "Sensors";
    case EMessageKind::Switches: return "Switches";
    case EMessageKind::Throttles: return "Throttles";
    case EMessageKind::Slots: return "Slots";
    case EMessageKind::SVProgramming: return "SV programming";
    case EMessageKind::PeerTransfer: return "Peer transfer";
    case EMessageKind::Other: break;
    }
    return "Other";
}

EMessageKind MessageKindOf(ELocoNetMsgType type)
{
    switch (type) {
    case eOPCGPON:
    case eOPCGPOFF:
    case eOPCIDLE: return EMessageKind::Power;
    case eOPCSENS:
    case eOPCMULTISENSE: return EMessageKind::Sensors;
    case eOPCSWREQ:
    case eOPCTOFB:
    case eOPCOPSTATE:
    case eOPCSWACK:
    case eOPCSWSTATE: return EMessageKind::Switches;
    case eOPCLOCOSPD:
    case eOPCLOCODIRF:
    case eOPCLOCOSND:
    case eOPCLOCOF9F12:
    case eOPCLOCOADR: return EMessageKind::Throttles;
    case eOPCSLOTSTAT1:
    case eOPCMOVESLOTS:
    case eOPCRQSLDATA:
    case eOPCSLRDDATA:
    case eOPCWRSLDATA:
    case eOPCLINKSLOTS:
    case eOPCUNLINKSLOTS:
    case eOPCCONSISTFUNC:
    case eOPCSPDLIMSLOT: return EMessageKind::Slots;
    case eOPCSVACCESS1:
    case eOPCSVACCESS2: return EMessageKind::SVProgramming;
    case eOPCPEERXFER:
    case eOPCPEERLXFER: return EMessageKind::PeerTransfer;
    default: return EMessageKind::Other;
    }
}

TMessageAddresses MessageAddresses(const TLocoNetMessage& msg, ELocoNetMsgType type)
{
    TMessageAddresses a;
    auto add = [&a](uint32_t value) { a.Values[static_cast<std::size_t>(a.Count++)] = value; };
    const uint32_t b1 = msg.GetByte(1);
    const uint32_t b2 = msg.GetByte(2);
    switch (type) {
    case eOPCSENS:
        // Sensor address from 0: two inputs per value of the low 7 + 4 bits, bit 0x20 picks one.
        add((((b1 & 0x7F) | ((b2 & 0x0F) << 7)) << 1) + ((b2 & 0x20) ? 1 : 0) + 1);
        break;
    case eOPCSWREQ:
    case eOPCTOFB:
    case eOPCOPSTATE:
    case eOPCSWACK:
    case eOPCSWSTATE: add(((b1 & 0x7F) | ((b2 & 0x0F) << 7)) + 1); break;
    case eOPCLOCOSPD:
    case eOPCLOCODIRF:
    case eOPCLOCOSND:
    case eOPCLOCOF9F12:
    case eOPCSLOTSTAT1:
    case eOPCRQSLDATA:
    case eOPCCONSISTFUNC: add(b1); break;
    case eOPCMOVESLOTS:
    case eOPCLINKSLOTS:
    case eOPCUNLINKSLOTS:
        add(b1);
        if (b2 != b1) add(b2);
        break;
    case eOPCSLRDDATA:
    case eOPCWRSLDATA: add(b2); break;
    case eOPCSVACCESS2: add(TLNSVProgMessage::WordOf(msg, 2)); break;
    default: break;
    }
    return a;
}
