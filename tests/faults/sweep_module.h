// The game module of the failure sweep: an in-process module that does what
// a small real game does in one run (a mode, a tileset and a sprite image, a
// layer with a map and one sprite node, frames on every idle turn) and
// records what each callback answered, so a test can see how the host's
// failures reached it.
#ifndef VANTREL_TESTS_FAULTS_SWEEP_MODULE_H
#define VANTREL_TESTS_FAULTS_SWEEP_MODULE_H

#include "vantrel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sweep {

struct Seen {
  int interfaceCalls = 0;
  std::vector<int32_t> codes;  // event code of every procedure call, in order
  int32_t setMode = -1;        // SetMode's answer; -1 when never asked
  VImg *head = nullptr;        // AddImage's answer for the tileset
  VImg *later = nullptr;       // AddImage's answer for the sprite image
  bool layerMade = false;      // NewLayer answered a layer
  bool cellsMade = false;      // the map's cell array was allocated
  bool nodeMade = false;       // Add answered a node
  int framesAfterShutdown = 0; // frames asked for after an EV_SHUTDOWN
};

// Forgets what was seen; `tiles` and `sprite` are the bitmap files to add.
void Prepare(const std::string &tiles, const std::string &sprite);
const Seen &Last();

int32_t VANTREL_STDCALL Interface(VProg *prog);
int32_t VANTREL_STDCALL Procedure(int32_t elapsedMs);

} // namespace sweep

#endif
