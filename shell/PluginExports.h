#pragma once
// The plug-in's twelve entry points, as the host finds them by name (see PluginApi.h for the roles).
#include "plugin-api/PluginApi.h"

extern "C" {
int GetPluginInfo(uint32_t* info);
int InitPlugin(void* a1, void* a2, void* a3, void* a4, void* a5, void* a6, void* a7, HostRequestProc request);
void UnInitPlugin();
void ShowPlugin(void*, void*, void** accelerators);
void HidePlugin();
int PluginProc(int id, int code, void* extra, void* handlerInfo);
int CPU(const uint32_t* message);
void OnStateChange(int state);
void OnSetUpChange(int kind, const uint32_t* version);
void OnOptionsChanged(const uint32_t* options);
void SetSleepTickCount(uint32_t idleMs);
void* CreateOptionsDialog(void* parent);
}
