// sound_log.h - vantrel-replay's --sound-log: one line per sound call the
// module makes, with the frame on the screen, the sound, the flags and the
// answer, so that a module's sounds can be kept as a golden file too.
#ifndef VANTREL_REPLAY_SOUND_LOG_H
#define VANTREL_REPLAY_SOUND_LOG_H

#include <cstdint>
#include <string>

namespace replay {

// Where sound calls are written while a replay runs. False (said on
// standard error) when the file cannot be made, or on Windows, where a
// module plays its sounds through the system itself.
bool StartSoundLog(const std::string &path);
// Closes the log; false when writing failed.
bool StopSoundLog();

// Before each run: the module's sounds on the virtual device of a host
// without audio (each plays for its length on the replay's clock), nothing
// playing, and no window title, as at process start. Nothing on Windows,
// where the module calls the system.
void ResetRunSounds();

// One line as the log has it, for a call answered `answer` while frame
// `frame` was on the screen: `frame 120 PlaySoundA "boom.wav" 0x00020001 -> 1`.
// The sound is NULL, <memory N bytes>, or the file name quoted with " \ and
// control characters escaped; a name in the module's own folder (`moduleDir`,
// ending in a slash) is written from there.
std::string SoundLogLine(uint32_t frame, const char *function, const char *name, bool memory,
                         uint32_t memoryBytes, uint32_t flags, int32_t answer,
                         const std::string &moduleDir);

} // namespace replay

#endif
