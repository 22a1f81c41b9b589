// kit_text.cpp - text as sprites: one sprite and node per character, reused
// for every string no longer than the longest so far.
#include "vantrel_kit.h"

#include <cstring>
#include <new>

VText::~VText() { Remove(); }

bool VText::Grow(size_t n) {
  // Three arrays of the new size; the old ones are freed only once all
  // three exist, so a failure leaves the text as it was.
  auto *chars = new (std::nothrow) char[n + 1];
  auto **sprites = new (std::nothrow) VSprite *[n];
  auto **nodes = new (std::nothrow) VNode *[n];
  if (chars == nullptr || sprites == nullptr || nodes == nullptr) {
    delete[] chars;
    delete[] sprites;
    delete[] nodes;
    return false;
  }
  std::memcpy(chars, Text(), length_ + 1);
  size_t made = capacity_;
  for (size_t i = 0; i < capacity_; ++i) {
    sprites[i] = sprites_[i];
    nodes[i] = nodes_[i];
  }
  bool ok = true;
  for (; made < n; ++made) {
    auto *sprite = new (std::nothrow) VSprite();
    VNode *node = nullptr;
    if (sprite != nullptr && layer_ != nullptr) {
      node = layer_->Add(depth_, 0, 0);
      if (node == nullptr) {
        delete sprite;
        sprite = nullptr;
      }
    }
    if (sprite == nullptr) {
      ok = false;
      break;
    }
    sprite->state = HIDDEN;
    if (node != nullptr) {
      node->sprite = sprite;
    }
    sprites[made] = sprite;
    nodes[made] = node;
  }
  delete[] chars_;
  delete[] sprites_;
  delete[] nodes_;
  chars_ = chars;
  sprites_ = sprites;
  nodes_ = nodes;
  capacity_ = made;
  return ok;
}

bool VText::Place(VLayer *layer, int32_t depth, int32_t x, int32_t y, int32_t scale) {
  if (layer == nullptr) {
    return false;
  }
  x_ = x;
  y_ = y;
  scale_ = scale < 1 ? 1 : scale;
  bool ok = true;
  for (size_t i = 0; i < capacity_; ++i) {
    VNode *&node = nodes_[i];
    if (node == nullptr) {
      node = layer->Add(depth, 0, 0);
      if (node == nullptr) {
        ok = false;
        continue;
      }
      node->sprite = sprites_[i];
    } else {
      if (node->owner != layer) {
        node->MoveTo(layer);
      }
      node->SetDepth(depth);
    }
  }
  layer_ = layer;
  depth_ = depth;
  LayOut();
  return ok;
}

bool VText::Set(const char *text) {
  const char *s = text != nullptr ? text : "";
  size_t n = std::strlen(s);
  bool ok = true;
  if (n > capacity_ && !Grow(n)) {
    ok = false;
    n = n < capacity_ ? n : capacity_;
  }
  if (chars_ != nullptr) {
    std::memmove(chars_, s, n);
    chars_[n] = '\0';
  }
  length_ = chars_ != nullptr ? n : 0;
  LayOut();
  return ok;
}

void VText::SetFont(const VFont &font) {
  font_ = font;
  LayOut();
}

void VText::MoveTo(int32_t x, int32_t y) {
  x_ = x;
  y_ = y;
  LayOut();
}

void VText::Show(bool shown) {
  shown_ = shown;
  LayOut();
}

void VText::LayOut() {
  const int32_t w = font_.cellW * scale_;
  const int32_t h = font_.cellH * scale_;
  const bool drawable =
      shown_ && font_.image != nullptr && font_.cellW > 0 && font_.cellH > 0 && font_.columns > 0;
  const auto inFont = [this](int32_t code) {
    return code >= font_.first && code - font_.first < font_.count;
  };
  int32_t col = 0;
  int32_t line = 0;
  for (size_t i = 0; i < capacity_; ++i) {
    VSprite &sprite = *sprites_[i];
    sprite.state = HIDDEN;
    if (i >= length_) {
      continue;
    }
    const int32_t code = static_cast<unsigned char>(chars_[i]);
    if (code == '\n') {
      col = 0;
      ++line;
      continue;
    }
    const int32_t at = col++;
    const int32_t glyph = inFont(code) ? code : (inFont('?') ? '?' : -1);
    if (!drawable || code == ' ' || glyph < 0) {
      continue;
    }
    const int32_t cell = glyph - font_.first;
    sprite.image = font_.image;
    sprite.srcX = (cell % font_.columns) * font_.cellW;
    sprite.srcY = (cell / font_.columns) * font_.cellH;
    sprite.srcW = font_.cellW;
    sprite.srcH = font_.cellH;
    sprite.dstX = x_ + at * w;
    sprite.dstY = y_ + line * h;
    sprite.dstW = w;
    sprite.dstH = h;
    sprite.state = SPR_SHOWN;
  }
}

void VText::Remove() {
  for (size_t i = 0; i < capacity_; ++i) {
    if (nodes_[i] != nullptr) {
      nodes_[i]->Unlink();
      delete nodes_[i];
    }
    delete sprites_[i];
  }
  delete[] chars_;
  delete[] sprites_;
  delete[] nodes_;
  chars_ = nullptr;
  sprites_ = nullptr;
  nodes_ = nullptr;
  capacity_ = 0;
  length_ = 0;
  layer_ = nullptr;
}

int32_t VText::Width() const {
  int32_t longest = 0;
  int32_t col = 0;
  for (size_t i = 0; i < length_; ++i) {
    col = chars_[i] == '\n' ? 0 : col + 1;
    longest = col > longest ? col : longest;
  }
  return longest * font_.cellW * scale_;
}

int32_t VText::Height() const {
  if (length_ == 0) {
    return 0;
  }
  int32_t lines = 1;
  for (size_t i = 0; i < length_; ++i) {
    lines += chars_[i] == '\n' ? 1 : 0;
  }
  return lines * font_.cellH * scale_;
}
