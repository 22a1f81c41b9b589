// The key table: one byte of state bits per virtual key.
#include "host/key_table.h"

#include <array>
#include <cstddef>

namespace vantrel {
namespace {

constexpr uint8_t kDown = 0x01;
constexpr uint8_t kPressedSinceQuery = 0x02;
constexpr uint8_t kToggled = 0x04;

constexpr uint32_t VK_LBUTTON = 0x01;
constexpr uint32_t VK_RBUTTON = 0x02;

std::array<uint8_t, 256> keys{};

void Press(uint32_t vk) {
  uint8_t &state = keys[vk & 0xFF];
  if ((state & kDown) == 0) {
    state ^= kToggled;
    state |= kPressedSinceQuery;
  }
  state |= kDown;
}

void Release(uint32_t vk) { keys[vk & 0xFF] &= static_cast<uint8_t>(~kDown); }

bool InTable(int32_t vk) { return vk >= 0 && vk < static_cast<int32_t>(keys.size()); }

} // namespace

void NoteKeyMessage(uint32_t message, plat::WPARAM wParam) {
  switch (message) {
  case plat::WM_KEYDOWN:
    Press(static_cast<uint32_t>(wParam & 0xFF));
    break;
  case plat::WM_KEYUP:
    Release(static_cast<uint32_t>(wParam & 0xFF));
    break;
  case plat::WM_LBUTTONDOWN:
    Press(VK_LBUTTON);
    break;
  case plat::WM_LBUTTONUP:
    Release(VK_LBUTTON);
    break;
  case plat::WM_RBUTTONDOWN:
    Press(VK_RBUTTON);
    break;
  case plat::WM_RBUTTONUP:
    Release(VK_RBUTTON);
    break;
  default:
    break;
  }
}

int16_t AsyncKeyState(int32_t vk) {
  if (!InTable(vk)) {
    return 0;
  }
  uint8_t &state = keys[static_cast<size_t>(vk)];
  const uint16_t answer = static_cast<uint16_t>(((state & kDown) != 0 ? 0x8000u : 0u) |
                                                ((state & kPressedSinceQuery) != 0 ? 1u : 0u));
  state &= static_cast<uint8_t>(~kPressedSinceQuery);
  return static_cast<int16_t>(answer);
}

int16_t KeyState(int32_t vk) {
  if (!InTable(vk)) {
    return 0;
  }
  const uint8_t state = keys[static_cast<size_t>(vk)];
  return static_cast<int16_t>(static_cast<uint16_t>(((state & kDown) != 0 ? 0x8000u : 0u) |
                                                    ((state & kToggled) != 0 ? 1u : 0u)));
}

void ResetKeyTable() { keys.fill(0); }

} // namespace vantrel
