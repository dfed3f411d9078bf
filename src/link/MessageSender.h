#pragma once
// Where a window or a conversation hands a built message: the link's WriteMessage, which takes
// the message over, or whatever stands in for it (a test, the command-line tool).

#include "link/LocoNetMessage.h"

#include <functional>
#include <memory>

using TMessageSender = std::function<void(std::unique_ptr<TLocoNetMessage>)>;
