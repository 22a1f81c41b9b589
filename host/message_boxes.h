// The two message-box routines.
#ifndef VANTREL_HOST_MESSAGE_BOXES_H
#define VANTREL_HOST_MESSAGE_BOXES_H

#include "vantrel.h"

#include <cstdint>

namespace vantrel {

// Modal box captioned "Error!", owned by the main window. Answers 0.
int32_t ErrorBox(const char *text);
// Modal box captioned "Report", owned by the main window. Answers 1. Also the
// module's Report callback slot.
int32_t VANTREL_CDECL ReportBox(const char *text);

} // namespace vantrel

#endif
