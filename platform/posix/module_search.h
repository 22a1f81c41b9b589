// module_search.h - where a module named without a folder is looked for.
#ifndef VANTREL_PLATFORM_POSIX_MODULE_SEARCH_H
#define VANTREL_PLATFORM_POSIX_MODULE_SEARCH_H

#include <string>
#include <vector>

namespace posixplat {

// One place to try: a path for dlopen, and whether dlopen is to search the
// system's library paths for it (a bare name) rather than open that file.
struct SearchStep {
  std::string path;
  bool systemSearch;
};

// The order of the safe search: the executable's folder, then the system's
// library paths, then the current folder; last, the folder where an install
// puts the demo module, found from the executable's folder
// (<bindir>/../lib/vantrel/demo under the usual layout), so an installed
// `vantrel` started alone shows the demo. A name with a slash is opened as
// given and nothing else is tried.
std::vector<SearchStep> ModuleSearchOrder(const std::string &name, const std::string &exeDir);

// The installed demo's folder relative to the executable's folder, as the
// install layout of this build puts it (for example "../lib/vantrel/demo").
const char *InstalledDemoFolder();

// The folder of the running executable (from /proc/self/exe), or "" when it
// cannot be read.
std::string ExecutableFolder();

// Names the one file LoadLibraryA opens from now on, whatever name it is
// given (a --module option); null or "" goes back to the search.
void SetModuleFile(const char *path);

} // namespace posixplat

#endif
