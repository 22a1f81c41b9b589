// page_sound.h - the page's sound output: the module's one sound through the
// browser's Web Audio API (web_page.js keeps the AudioContext).
#ifndef VANTREL_PLATFORM_WEB_PAGE_SOUND_H
#define VANTREL_PLATFORM_WEB_PAGE_SOUND_H

#include "platform/module_calls/sound_player.h"

namespace web {

// The output for modulecalls::SetSoundOutput in live play. A browser keeps
// the page's audio suspended until the person presses a key or clicks; until
// then sounds are timed on the page's clock and answered as when heard, but
// not heard (a looping one is heard from that press on).
const modulecalls::SoundOutput *PageSoundOutput();

} // namespace web

#endif
