// Layers and their depth-ordered, doubly linked node lists.
//
// A layer's list runs from `first` (lowest depth) to `last` (highest depth).
// Nodes enter at the `first` end with depth 0 and then walk to their place, so
// a depth of 0 or less added to a layer stays first; while every depth in a
// layer is 0 or more the list stays ascending.
#include "vantrel.h"

#include <new>

namespace {

// Takes n out of its owner's list, joining its neighbours. n keeps its own
// prev, next, owner and depth.
void TakeOut(VNode *n) {
  VLayer *l = n->owner;
  if (n->prev == nullptr && n->next == nullptr) {
    l->first = nullptr;
    l->last = nullptr;
  } else if (n->prev == nullptr) {
    n->next->prev = nullptr;
    l->first = n->next;
  } else if (n->next == nullptr) {
    n->prev->next = nullptr;
    l->last = n->prev;
  } else {
    n->prev->next = n->next;
    n->next->prev = n->prev;
  }
}

// Links n at the `first` end of l.
void LinkFirst(VNode *n, VLayer *l) {
  n->prev = nullptr;
  n->next = l->first;
  if (n->next != nullptr) {
    n->next->prev = n;
  }
  l->first = n;
  if (n->next == nullptr) {
    l->last = n;
  }
}

// Moves a linked node toward `last` to stand before the first later node of
// depth d or more (the first among equals), or after the last node.
void MoveTowardLast(VNode *n, int32_t d) {
  if (n->next == nullptr) {
    return;
  }
  VNode *s = n->next;
  while (s != nullptr && s->depth < d) {
    s = s->next;
  }
  if (s == n->next) {
    return;
  }
  VLayer *l = n->owner;
  if (s != nullptr) {
    TakeOut(n);
    n->prev = s->prev;
    n->next = s;
    s->prev->next = n;
    s->prev = n;
  } else {
    VNode *t = l->last;
    TakeOut(n);
    t->next = n;
    n->prev = t;
    n->next = nullptr;
    l->last = n;
  }
}

// Moves a linked node toward `first` to stand after the first earlier node of
// depth d or less (the last among equals), or before the first node.
void MoveTowardFirst(VNode *n, int32_t d) {
  if (n->prev == nullptr) {
    return;
  }
  VNode *p = n->prev;
  while (p != nullptr && p->depth > d) {
    p = p->prev;
  }
  if (p == n->prev) {
    return;
  }
  VLayer *l = n->owner;
  if (p != nullptr) {
    TakeOut(n);
    n->next = p->next;
    n->prev = p;
    p->next->prev = n;
    p->next = n;
  } else {
    VNode *f = l->first;
    TakeOut(n);
    f->prev = n;
    n->next = f;
    n->prev = nullptr;
    l->first = n;
  }
}

} // namespace

VLayer::VLayer()
    : map(nullptr), first(nullptr), last(nullptr), reserved12(0), next(nullptr), reserved20(0) {}

VLayer::~VLayer() = default;

VNode *VLayer::Add(int32_t depth, int32_t tag, int32_t ignored) {
  VNode *n = new (std::nothrow) VNode(this, tag, ignored);
  if (n == nullptr) {
    return nullptr;
  }
  LinkFirst(n, this);
  n->SetDepth(depth);
  return n;
}

VNode::VNode()
    : sprite(nullptr), reserved{0, 0, 0, 0, 0}, prev(nullptr), next(nullptr), tag(0), depth(0),
      owner(nullptr) {}

VNode::VNode(int32_t t, int32_t /*ignored*/) : VNode() { tag = t; }

VNode::VNode(VLayer *o, int32_t t, int32_t /*ignored*/) : VNode() {
  owner = o;
  tag = t;
}

int32_t VNode::Depth() const { return depth; }

bool VNode::IsLinked() const {
  if (owner == nullptr) {
    return false;
  }
  return prev != nullptr ? prev->next == this : owner->first == this;
}

int32_t VNode::SetDepth(int32_t d) {
  if (d != depth && IsLinked()) {
    if (d > depth) {
      MoveTowardLast(this, d);
    } else {
      MoveTowardFirst(this, d);
    }
  }
  depth = d;
  return d;
}

int32_t VNode::MoveTo(VLayer *target) {
  if (owner == nullptr) {
    depth = 0;
    return NODE_NOLAYER;
  }
  if (target == nullptr || !IsLinked()) {
    return NODE_NOLAYER;
  }
  const int32_t d = depth;
  depth = 0;
  TakeOut(this);
  owner = target;
  LinkFirst(this, target);
  SetDepth(d);
  return 1;
}

void VNode::Unlink() {
  if (IsLinked()) {
    TakeOut(this);
  }
}
