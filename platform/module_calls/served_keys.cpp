// served_keys.cpp - GetAsyncKeyState and GetKeyState, served with C names
// (exports.list) from the host's key table.
#include "host/key_table.h"
#include "vantrel_win32.h"

extern "C" {

SHORT GetAsyncKeyState(int vKey) { return vantrel::AsyncKeyState(vKey); }

SHORT GetKeyState(int nVirtKey) { return vantrel::KeyState(nVirtKey); }

} // extern "C"
