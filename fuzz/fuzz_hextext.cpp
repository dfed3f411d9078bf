// Parses arbitrary text as the arbitrary-message window does and checks the message it gives.
#include "link/LocoNetMessage.h"
#include "messages/MessageText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TLocoNetMessage m(text);
    const uint32_t len = m.GetLength();
    if (len == 1) std::abort(); // either nothing or at least two bytes
    if (len != m.GetCapacity()) std::abort();
    if (len == 0 && m.GetData() != nullptr) std::abort();
    // The hex text of a parsed message parses back to the same bytes.
    if (len >= 2) {
        TLocoNetMessage again(m.HexText());
        if (again.HexText() != m.HexText()) std::abort();
    }
    (void)ExpandedMessageText(m);
    (void)m.Text();
    return 0;
}
