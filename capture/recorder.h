// recorder.h - writing every call of the module's procedure as a replay
// script (vantrel --record FILE).
#ifndef VANTREL_CAPTURE_RECORDER_H
#define VANTREL_CAPTURE_RECORDER_H

#include <string>

namespace replay {

// Opens `path`, writes the script's first line and watches the host's calls
// of the module from now on. False (with the reason on standard error) when
// the file cannot be written.
bool StartRecording(const char *path);
// The same, with the reason for a false answer in `why` (not printed).
bool StartRecording(const char *path, std::string *why);

// True while a recording is open.
bool Recording();

// Adds "# text" to the recording, after the calls made so far.
void RecordComment(const std::string &text);

// Writes what is pending, closes the file and stops watching. Safe to call
// when nothing is being recorded. False when a write failed.
bool StopRecording();

} // namespace replay

#endif
