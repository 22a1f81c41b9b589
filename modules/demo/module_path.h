// module_path.h - finding the demo's own files next to prog.dll.
#ifndef VANTREL_DEMO_MODULE_PATH_H
#define VANTREL_DEMO_MODULE_PATH_H

#include <string>

namespace demo {

// `file` in the folder that holds this module (prog.dll), so the demo finds
// its bitmaps whatever the current folder is. Falls back to `file` alone,
// which the host then looks up in the current folder, when the folder cannot
// be found or the whole path would not fit into an image name (254
// characters).
std::string PathNextToModule(const char *file);

} // namespace demo

#endif // VANTREL_DEMO_MODULE_PATH_H
