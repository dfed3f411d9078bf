#pragma once
// A window that takes the SV access replies the main window routes to it while it is open (the
// board list window with its programmer, the discovery and renumbering window).

class TLNSVProgMessage;

class TSVMessageWindow {
public:
    virtual ~TSVMessageWindow() = default;
    // The message belongs to the caller and lives only for this call.
    virtual void HandleSVMessage(const TLNSVProgMessage& message) = 0;
};
