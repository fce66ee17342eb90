#pragma once
// The plug-in's connection to the phone. The user-interface thread holds one connection, marked by
// the RAPI-initialised flag; a worker thread that uses the phone makes its own for the length of its
// work (RapiConnection).

class DeviceLink {
public:
    // How long Connect waits for the handshake.
    static constexpr unsigned kHandshakeMilliseconds = 1000;

    // Fails, and calls nothing, while connected. Connected only when the handshake completes in time
    // with a zero result; a failed attempt is not undone, the next Connect simply tries again.
    bool Connect();
    // Ends the connection when there is one.
    void Disconnect();
    bool RapiInitialized() const { return rapiInitialized; }

private:
    bool rapiInitialized = false;
};
