#include "messages/LNWriteSlotStat1Message.h"

#include "link/TextFormat.h"

bool TLNWriteSlotStat1Message::DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, uint32_t& busyState,
                                          uint32_t& consistState, uint32_t& decoderType)
{
    if (msg.MessageType() != kType) return false;
    const uint32_t b2 = msg.GetByte(2);
    slot = msg.GetByte(1);
    busyState = (b2 >> 4) & 3;
    consistState = 2 * ((b2 & 0x08) ? 1u : 0u) + ((b2 & 0x40) ? 1u : 0u);
    decoderType = b2 & 7;
    return true;
}

std::string TLNWriteSlotStat1Message::TextOf(const TLocoNetMessage& msg)
{
    static constexpr const char* kBusy[4] = {"Slot Free", "Slot Common", "Slot Idle", "Slot In Use"};
    static constexpr const char* kConsist[4] = {"Free Loco", "Consist SubMember", "Consist Top", "Mid Consist"};
    static constexpr const char* kDecoder[8] = {"DCC 28 Speed Steps",
                                                "Trinary",
                                                "DCC 14 Speed Steps",
                                                "DCC 128 Speed Steps",
                                                "DCC 28 Speed Steps, FX decoder",
                                                "Reserved",
                                                "Reserved",
                                                "DCC 128 Speed Steps, FX decoder"};
    uint32_t slot = 0, busy = 0, consist = 0, decoder = 0;
    if (!DecodeFrom(msg, slot, busy, consist, decoder)) return "Incorrect parse - not eOPCSLOTSTAT1";
    std::string s = "OPC_SLOT_STAT1: slot=";
    textformat::AppendDec(s, slot);
    s += ';';
    s += kBusy[busy & 3];
    s += ';';
    s += kConsist[consist & 3];
    s += ';';
    s += kDecoder[decoder & 7];
    return s;
}
