// Renders arbitrary byte arrays as every typed message kind, as an SV access message, through
// the expanded-text helper and as a monitor line (kept, filtered and shown with every column);
// also with length and checksum repaired so that the decoders run.
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
#include "messages/MessageText.h"
#include "monitor/MonitorLines.h"
#include "svprog/SVProgMessage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void RenderAll(const TLocoNetMessage& m)
{
    size_t total = 0;
    total += TLNSensFBMessage(m).Text().size();
    total += TLNToFBMessage(m).Text().size();
    total += TLNSwReqMessage(m).Text().size();
    total += TLNSEMessage(m).Text().size();
    total += TLNLocoSPDMessage(m).Text().size();
    total += TLNLocoDIRFMessage(m).Text().size();
    total += TLNLocoSNDMessage(m).Text().size();
    total += TLNLocoF9F12Message(m).Text().size();
    total += TLNMoveSlotMessage(m).Text().size();
    total += TLNWriteSlotStat1Message(m).Text().size();
    total += TLNLocoAddrMessage(m).Text().size();
    total += TLNLongACKMessage(m).Text().size();
    TLNPeerXferMessage peer(m);
    total += peer.Text().size() + peer.BadFrames() + peer.Collisions();
    TLNSVProgMessage sv(m);
    total += sv.Text().size() + sv.GetWord(0) + sv.GetWord(3) + static_cast<size_t>(sv.SVKind());
    if (total == 0) std::abort(); // every text is non-empty

    const std::string expanded = ExpandedMessageText(m);
    if (expanded.empty()) std::abort();
    if (MakeTypedMessage(TLocoNetMessage(m))->Text() != expanded) std::abort();

    // A monitor line keeps the message as it came and shows the same text.
    if (m.GetLength() > 255) return;
    TMonitorLines lines;
    lines.Append(m, 123456, true, true);
    const TMonitorColumns columns{.Time = true, .Direction = true, .Hex = true};
    std::string shown;
    AppendMonitorLine(shown, m, 123456, true, true, columns);
    if (lines.Text(0, columns) != shown || lines.Message(0).HexText() != m.HexText()) std::abort();
    TMonitorFilter filter;
    filter.Addresses = {{0, 65535}};
    filter.Text = "sent";
    std::string scratch;
    const bool named = MessageAddresses(m, m.MessageType()).Count > 0;
    if (filter.Accepts(lines, 0, columns, scratch) != named) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096) return 0;
    RenderAll(TLocoNetMessage(data, static_cast<uint32_t>(size)));
    if (size < 2) return 0;

    // Repair: opcode bit 7, the length rule and the checksum, so that the message is valid.
    std::vector<uint8_t> bytes(data, data + size);
    bytes[0] |= 0x80;
    const uint32_t fixedLength = TLocoNetMessage::LengthFromOpcode(bytes[0]);
    if (fixedLength != 8)
        bytes.resize(fixedLength);
    else {
        if (bytes.size() > 127) bytes.resize(127);
        if (bytes.size() < 3) bytes.resize(3);
        bytes[1] = static_cast<uint8_t>(bytes.size());
    }
    uint8_t x = 0xFF;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) x ^= bytes[i];
    bytes.back() = x;
    TLocoNetMessage valid(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (!valid.IsValid()) std::abort();
    RenderAll(valid);
    return 0;
}
