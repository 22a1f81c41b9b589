// served_sound.cpp - PlaySoundA and sndPlaySoundA, served with C names
// (exports.list) over the host's sound output.
#include "platform/module_calls/sound_player.h"
#include "vantrel_win32.h"

extern "C" {

BOOL PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound) {
  return modulecalls::PlaySound(pszSound, hmod, fdwSound);
}

BOOL sndPlaySoundA(LPCSTR lpszSound, UINT fuSound) {
  return modulecalls::SndPlaySound(lpszSound, fuSound);
}

} // extern "C"
