// The one table of the message types the program knows more of than their opcode name: each
// type's kind (for the monitor's filters), the addresses it names and its typed class (the object
// routing hands on, and the text the monitor shows with "Expand Messages" ticked). A type not in
// the table is of kind Other, names no address and stays a plain TLocoNetMessage. Adding a typed
// message: a value of ELocoNetMsgType, its class, and one row here.
#include "messages/MessageKind.h"
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

#include <array>

namespace {

using TAddressReader = void (*)(const TLocoNetMessage& msg, TMessageAddresses& addresses);

void Add(TMessageAddresses& a, uint32_t value)
{
    a.Values[static_cast<std::size_t>(a.Count++)] = value;
}

// Sensor address from 0: two inputs per value of the low 7 + 4 bits, bit 0x20 picks one.
void SensorAddress(const TLocoNetMessage& m, TMessageAddresses& a)
{
    const uint32_t b1 = m.GetByte(1), b2 = m.GetByte(2);
    Add(a, (((b1 & 0x7F) | ((b2 & 0x0F) << 7)) << 1) + ((b2 & 0x20) ? 1 : 0) + 1);
}

void PointAddress(const TLocoNetMessage& m, TMessageAddresses& a)
{
    Add(a, ((m.GetByte(1) & 0x7F) | ((m.GetByte(2) & 0x0F) << 7)) + 1);
}

void SlotInByte1(const TLocoNetMessage& m, TMessageAddresses& a)
{
    Add(a, m.GetByte(1));
}

void SlotInByte2(const TLocoNetMessage& m, TMessageAddresses& a)
{
    Add(a, m.GetByte(2));
}

// Both slots of a slot move or link, once when they are the same.
void SlotPair(const TLocoNetMessage& m, TMessageAddresses& a)
{
    Add(a, m.GetByte(1));
    if (m.GetByte(2) != m.GetByte(1)) Add(a, m.GetByte(2));
}

void SVDestination(const TLocoNetMessage& m, TMessageAddresses& a)
{
    Add(a, TLNSVProgMessage::WordOf(m, 2));
}

struct TRow {
    ELocoNetMsgType Type = eOPCUNKNOWN;
    EMessageKind Kind = EMessageKind::Other;
    TAddressReader Addresses = nullptr;
    // The typed class: takes the message over; the text of a message of the type.
    std::unique_ptr<TLocoNetMessage> (*Make)(TLocoNetMessage&& msg) = nullptr;
    std::string (*Text)(const TLocoNetMessage& msg) = nullptr;
};

template <class T> std::unique_ptr<TLocoNetMessage> MakeAs(TLocoNetMessage&& msg)
{
    return std::make_unique<T>(std::move(msg));
}

// A type with a class of its own.
template <class T> constexpr TRow Typed(EMessageKind kind, TAddressReader addresses = nullptr)
{
    return {T::kType, kind, addresses, &MakeAs<T>, &T::TextOf};
}

// A type without one.
constexpr TRow Plain(ELocoNetMsgType type, EMessageKind kind, TAddressReader addresses = nullptr)
{
    return {type, kind, addresses, nullptr, nullptr};
}

using K = EMessageKind;

constexpr TRow kRows[] = {
    Plain(eOPCGPON, K::Power),
    Plain(eOPCGPOFF, K::Power),
    Plain(eOPCIDLE, K::Power),
    Typed<TLNSensFBMessage>(K::Sensors, SensorAddress),
    Plain(eOPCMULTISENSE, K::Sensors),
    Typed<TLNSwReqMessage>(K::Switches, PointAddress),
    Typed<TLNToFBMessage>(K::Switches, PointAddress),
    Plain(eOPCOPSTATE, K::Switches, PointAddress),
    Plain(eOPCSWACK, K::Switches, PointAddress),
    Plain(eOPCSWSTATE, K::Switches, PointAddress),
    Typed<TLNLocoSPDMessage>(K::Throttles, SlotInByte1),
    Typed<TLNLocoDIRFMessage>(K::Throttles, SlotInByte1),
    Typed<TLNLocoSNDMessage>(K::Throttles, SlotInByte1),
    Typed<TLNLocoF9F12Message>(K::Throttles, SlotInByte1),
    Typed<TLNLocoAddrMessage>(K::Throttles),
    Typed<TLNWriteSlotStat1Message>(K::Slots, SlotInByte1),
    Typed<TLNMoveSlotMessage>(K::Slots, SlotPair),
    Plain(eOPCRQSLDATA, K::Slots, SlotInByte1),
    Plain(eOPCSLRDDATA, K::Slots, SlotInByte2),
    Plain(eOPCWRSLDATA, K::Slots, SlotInByte2),
    Plain(eOPCLINKSLOTS, K::Slots, SlotPair),
    Plain(eOPCUNLINKSLOTS, K::Slots, SlotPair),
    Plain(eOPCCONSISTFUNC, K::Slots, SlotInByte1),
    Plain(eOPCSPDLIMSLOT, K::Slots),
    Plain(eOPCSVACCESS1, K::SVProgramming),
    Typed<TLNSVProgMessage>(K::SVProgramming, SVDestination),
    Typed<TLNPeerXferMessage>(K::PeerTransfer),
    Plain(eOPCPEERLXFER, K::PeerTransfer),
    Typed<TLNLongACKMessage>(K::Other),
    Typed<TLNSEMessage>(K::Other),
};

constexpr std::array<TRow, eOPCTypeCount> IndexByType()
{
    std::array<TRow, eOPCTypeCount> index{};
    for (int type = 0; type < eOPCTypeCount; ++type) index[static_cast<std::size_t>(type)].Type = ELocoNetMsgType(type);
    for (const TRow& row : kRows) index[static_cast<std::size_t>(row.Type)] = row;
    return index;
}

constexpr std::array<TRow, eOPCTypeCount> kByType = IndexByType();

const TRow& RowOf(ELocoNetMsgType type)
{
    return kByType[type >= 0 && type < eOPCTypeCount ? static_cast<std::size_t>(type) : 0];
}

} // namespace

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
    return RowOf(type).Kind;
}

TMessageAddresses MessageAddresses(const TLocoNetMessage& msg, ELocoNetMsgType type)
{
    TMessageAddresses addresses;
    if (const TAddressReader read = RowOf(type).Addresses) read(msg, addresses);
    return addresses;
}

std::string ExpandedMessageText(const TLocoNetMessage& msg)
{
    const TRow& row = RowOf(msg.MessageType());
    return row.Text ? row.Text(msg) : msg.TLocoNetMessage::Text();
}

std::unique_ptr<TLocoNetMessage> MakeTypedMessage(TLocoNetMessage&& msg)
{
    const TRow& row = RowOf(msg.MessageType());
    return row.Make ? row.Make(std::move(msg)) : std::make_unique<TLocoNetMessage>(std::move(msg));
}
