// web_main.cpp - the page's program: the replay entry when the page asks
// for it, else the game.
#include "platform/web/page_bridge.h"
#include "platform/web/web.h"

#include <string>

int main() {
  std::string frames;
  if (web::page::ReplayRequested(&frames)) {
    return web::RunPageReplay(frames.c_str());
  }
  return web::RunLive();
}
