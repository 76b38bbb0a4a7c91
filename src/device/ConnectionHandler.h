#pragma once
// Receives every change between "keyboard connected" (1) and "not connected"
// (0), synchronously on the discovery thread. It may run transfers and wait
// for the window thread; discovery goes on when it returns.

namespace keyloom {

class ConnectionHandler {
public:
    virtual ~ConnectionHandler() = default;
    virtual void connectionChanged(int connected) = 0;
};

}  // namespace keyloom
