#include "device/DeviceLink.h"

#include "platform/rapi/api/Rapi.h"

bool DeviceLink::Connect() {
    if (rapiInitialized) return false;
    RAPIINIT init{sizeof(RAPIINIT), 0, 0};
    if (CeRapiInitEx(&init) != 0) return false;
    if (CeWaitForRapiInit(init.heRapiInit, kHandshakeMilliseconds) != WAIT_OBJECT_0) return false;
    if (init.hrRapiInit != 0) return false;
    rapiInitialized = true;
    return true;
}

void DeviceLink::Disconnect() {
    if (!rapiInitialized) return;
    CeRapiUninit();
    rapiInitialized = false;
}
