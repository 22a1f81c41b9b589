#include "sweep_module.h"

#include "module/prog_instance.h"

namespace sweep {
namespace {

Seen seen;
std::string tilesFile;
std::string spriteFile;
VProg *host = nullptr;
VLayer *layer = nullptr;
VMap *map = nullptr;
VSprite *sprite = nullptr;

void Build() {
  seen.setMode = host->SetMode(64, 48, 16);
  seen.head = host->AddImage(tilesFile.c_str(), IMG_LOAD);
  seen.later = host->AddImage(spriteFile.c_str(), IMG_LOAD);
  layer = host->NewLayer(0);
  seen.layerMade = layer != nullptr;
  if (layer == nullptr) {
    return;
  }
  // The map and the sprite are the module's own records, allocated with the
  // throwing allocator; the records the scene library and the host allocate
  // (cells, nodes, layers, images) are the ones the sweep makes fail.
  map = new VMap(4, 3, 0, MAP_SHOWN, 0, 0, 4, 3, 8, 8, 0);
  seen.cellsMade = map->cells != nullptr;
  layer->map = map;
  // Stretched 8x8 to 16x16, so the pass uses the stretching blit as well.
  sprite = new VSprite(seen.later, 0, 0, 8, 8, 20, 10, 16, 16, SPR_SHOWN);
  VNode *node = layer->Add(1, 0, 0);
  seen.nodeMade = node != nullptr;
  if (node != nullptr) {
    node->sprite = sprite;
  }
}

void FreeScene() {
  if (layer != nullptr) {
    VNode *node = layer->first;
    while (node != nullptr) {
      VNode *next = node->next;
      delete node;
      node = next;
    }
    delete layer;
    layer = nullptr;
  }
  delete map;
  map = nullptr;
  delete sprite;
  sprite = nullptr;
  if (host != nullptr) {
    host->layers = nullptr;
  }
}

} // namespace

void Prepare(const std::string &tiles, const std::string &spriteBmp) {
  FreeScene();
  seen = Seen{};
  host = nullptr;
  tilesFile = tiles;
  spriteFile = spriteBmp;
}

const Seen &Last() { return seen; }

int32_t VANTREL_STDCALL Interface(VProg *prog) {
  host = prog;
  ++seen.interfaceCalls;
  return 1;
}

int32_t VANTREL_STDCALL Procedure(int32_t) {
  if (host == nullptr) {
    // Called without ever having been handed the record (its interface
    // entry was missing): only the host's own record says which event.
    seen.codes.push_back(vantrel::prog.event.code);
    return 0;
  }
  const int32_t code = host->event.code;
  seen.codes.push_back(code);
  switch (code) {
  case EV_INIT:
    Build();
    return 1;
  case EV_SHUTDOWN:
    // A shutdown notice may come in the middle of a run (a failed restore);
    // the scene goes, and later frames draw an empty scene.
    FreeScene();
    return 1;
  default:
    for (int32_t c : seen.codes) {
      if (c == EV_SHUTDOWN) {
        ++seen.framesAfterShutdown;
        break;
      }
    }
    return 1;
  }
}

} // namespace sweep
