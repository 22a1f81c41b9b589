// What the host asks of the system for the length of a run: a clock and a
// scheduler with 1 ms resolution (Windows ticks every 15.6 ms by default, and
// since Windows 10 2004 a program no longer inherits another's finer
// setting), and the display and the system kept awake while the game is
// active. Every request is given back when the run ends, on every way out.
#ifndef VANTREL_HOST_SYSTEM_REQUESTS_H
#define VANTREL_HOST_SYSTEM_REQUESTS_H

namespace vantrel {

// Asks for the 1 ms timer period; remembers whether it was granted.
void BeginTimerPeriod();
// While `on`, the display and the system stay awake; off lets them sleep.
void KeepAwake(bool on);
// Ends the timer period BeginTimerPeriod was granted and lets the display
// sleep again.
void EndSystemRequests();
// Forgets every request without giving it back (tests, with the platform).
void ForgetSystemRequests();

} // namespace vantrel

#endif
