// Layers and their depth-ordered node lists: placement, tie-breaks, moves
// between layers, taking nodes out, and the misuse the library refuses.
#include "vantrel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

// A layer whose nodes are freed with it (after the list checks are done).
struct TestLayer {
  VLayer layer;
  std::vector<std::unique_ptr<VNode>> owned;

  VNode *Add(int32_t depth, int32_t tag = 0) {
    VNode *n = layer.Add(depth, tag, 0);
    owned.emplace_back(n);
    return n;
  }
  void AddAll(std::initializer_list<int32_t> depths) {
    for (int32_t d : depths) {
      Add(d);
    }
  }
  VNode *Keep(VNode *n) {
    owned.emplace_back(n);
    return n;
  }
};

std::vector<VNode *> Nodes(const VLayer &l) {
  std::vector<VNode *> out;
  for (VNode *n = l.first; n != nullptr && out.size() < 1000; n = n->next) {
    out.push_back(n);
  }
  return out;
}

std::vector<int32_t> Depths(const VLayer &l) {
  std::vector<int32_t> out;
  for (VNode *n : Nodes(l)) {
    out.push_back(n->depth);
  }
  return out;
}

// Invariants 1 to 3: both ends set or both null, prev and next agree along
// the list, the walk ends at `last`, and every node names the layer.
::testing::AssertionResult Sound(const VLayer &l) {
  if ((l.first == nullptr) != (l.last == nullptr)) {
    return ::testing::AssertionFailure() << "first and last disagree on emptiness";
  }
  const VNode *prev = nullptr;
  size_t count = 0;
  for (const VNode *n = l.first; n != nullptr; prev = n, n = n->next) {
    if (++count > 1000) {
      return ::testing::AssertionFailure() << "list does not end";
    }
    if (n->prev != prev) {
      return ::testing::AssertionFailure() << "prev of node " << count << " is wrong";
    }
    if (n->owner != &l) {
      return ::testing::AssertionFailure() << "node " << count << " has another owner";
    }
  }
  if (l.last != prev) {
    return ::testing::AssertionFailure() << "last is not the final node";
  }
  return ::testing::AssertionSuccess();
}

using D = std::vector<int32_t>;

TEST(LayerConstruction, EveryWordStartsZero) {
  VLayer l;
  EXPECT_EQ(l.map, nullptr);
  EXPECT_EQ(l.first, nullptr);
  EXPECT_EQ(l.last, nullptr);
  EXPECT_EQ(l.reserved12, 0);
  EXPECT_EQ(l.next, nullptr);
  EXPECT_EQ(l.reserved20, 0);
}

TEST(NodeConstruction, ThreeFormsSetOnlyOwnerAndTag) {
  VLayer l;
  const VNode plain;
  const VNode tagged(42, 777);
  const VNode owned(&l, -9, 777);
  for (const VNode *n : {&plain, &tagged, &owned}) {
    EXPECT_EQ(n->sprite, nullptr);
    for (int32_t w : n->reserved) {
      EXPECT_EQ(w, 0);
    }
    EXPECT_EQ(n->prev, nullptr);
    EXPECT_EQ(n->next, nullptr);
    EXPECT_EQ(n->depth, 0);
  }
  EXPECT_EQ(plain.tag, 0);
  EXPECT_EQ(plain.owner, nullptr);
  EXPECT_EQ(tagged.tag, 42);
  EXPECT_EQ(tagged.owner, nullptr);
  EXPECT_EQ(owned.tag, -9);
  EXPECT_EQ(owned.owner, &l);
  // Building a node with an owner does not link it.
  EXPECT_EQ(l.first, nullptr);
  EXPECT_FALSE(owned.IsLinked());
}

TEST(LayerAdd, IntoEmptyLayerMakesTheOnlyNode) {
  TestLayer t;
  VNode *n = t.Add(7, 31);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(t.layer.first, n);
  EXPECT_EQ(t.layer.last, n);
  EXPECT_EQ(n->prev, nullptr);
  EXPECT_EQ(n->next, nullptr);
  EXPECT_EQ(n->depth, 7);
  EXPECT_EQ(n->tag, 31);
  EXPECT_EQ(n->owner, &t.layer);
  EXPECT_EQ(n->sprite, nullptr);
  EXPECT_TRUE(n->IsLinked());
}

TEST(LayerAdd, PlacesByDepthAndBeforeEqualNodes) {
  TestLayer t;
  t.AddAll({5, 3, 9});
  EXPECT_EQ(Depths(t.layer), (D{3, 5, 9}));
  EXPECT_TRUE(Sound(t.layer));

  TestLayer u;
  u.AddAll({1, 5, 9});
  VNode *old5 = Nodes(u.layer)[1];
  VNode *new5 = u.Add(5);
  EXPECT_EQ(Nodes(u.layer), (std::vector<VNode *>{u.layer.first, new5, old5, u.layer.last}));
  EXPECT_TRUE(Sound(u.layer));
}

TEST(LayerAdd, DepthZeroOrBelowStaysFirst) {
  TestLayer t;
  t.Add(-3);
  VNode *zero = t.Add(0);
  EXPECT_EQ(t.layer.first, zero);
  EXPECT_EQ(Depths(t.layer), (D{0, -3}));

  TestLayer u;
  u.AddAll({2, 4});
  VNode *neg = u.Add(-1);
  EXPECT_EQ(Depths(u.layer), (D{-1, 2, 4}));
  VNode *z = u.Add(0);
  EXPECT_EQ(Depths(u.layer), (D{0, -1, 2, 4}));
  EXPECT_EQ(u.layer.first, z);
  EXPECT_EQ(z->next, neg);
  EXPECT_TRUE(Sound(t.layer));
  EXPECT_TRUE(Sound(u.layer));
}

TEST(SetDepth, TieBreaksBothWays) {
  // Toward higher depth the node comes first among its new equals.
  TestLayer up;
  up.AddAll({1, 5, 5, 9});
  std::vector<VNode *> before = Nodes(up.layer);
  EXPECT_EQ(before[0]->SetDepth(5), 5);
  EXPECT_EQ(Nodes(up.layer), (std::vector<VNode *>{before[0], before[1], before[2], before[3]}));
  EXPECT_EQ(before[3]->SetDepth(4), 4);
  EXPECT_EQ(before[0]->SetDepth(6), 6);
  EXPECT_EQ(Nodes(up.layer), (std::vector<VNode *>{before[3], before[1], before[2], before[0]}));
  EXPECT_EQ(Depths(up.layer), (D{4, 5, 5, 6}));
  EXPECT_TRUE(Sound(up.layer));

  // Toward lower depth it comes last among its new equals.
  TestLayer down;
  down.AddAll({1, 5, 9, 12});
  std::vector<VNode *> d = Nodes(down.layer);
  EXPECT_EQ(d[3]->SetDepth(5), 5);
  EXPECT_EQ(Nodes(down.layer), (std::vector<VNode *>{d[0], d[1], d[3], d[2]}));
  EXPECT_EQ(down.layer.last, d[2]);
  EXPECT_TRUE(Sound(down.layer));

  // Up to the depth of a node further on: before it, not after.
  TestLayer far;
  far.AddAll({1, 3, 9, 9});
  std::vector<VNode *> f = Nodes(far.layer);
  f[0]->SetDepth(9);
  EXPECT_EQ(Nodes(far.layer), (std::vector<VNode *>{f[1], f[0], f[2], f[3]}));
  EXPECT_TRUE(Sound(far.layer));
}

TEST(SetDepth, KeepsPlaceWhenNeighboursEncloseTheNewDepth) {
  TestLayer t;
  t.AddAll({1, 3, 9});
  std::vector<VNode *> n = Nodes(t.layer);
  for (int32_t d : {4, 2, 1, 9}) {
    EXPECT_EQ(n[1]->SetDepth(d), d);
    EXPECT_EQ(n[1]->depth, d);
    EXPECT_EQ(Nodes(t.layer), n);
    EXPECT_EQ(n[1]->prev, n[0]);
    EXPECT_EQ(n[1]->next, n[2]);
    EXPECT_TRUE(Sound(t.layer));
  }
  // The last node going up and the first going down have nowhere to go.
  n[2]->SetDepth(100);
  n[0]->SetDepth(-100);
  EXPECT_EQ(Nodes(t.layer), n);
  EXPECT_EQ(Depths(t.layer), (D{-100, 9, 100}));
}

TEST(SetDepth, MovesToEitherEnd) {
  TestLayer t;
  t.AddAll({1, 3, 9});
  VNode *three = Nodes(t.layer)[1];
  three->SetDepth(20);
  EXPECT_EQ(Depths(t.layer), (D{1, 9, 20}));
  EXPECT_EQ(t.layer.last, three);
  EXPECT_EQ(three->next, nullptr);
  EXPECT_TRUE(Sound(t.layer));

  TestLayer u;
  u.AddAll({1, 3, 9});
  VNode *nine = u.layer.last;
  nine->SetDepth(-4);
  EXPECT_EQ(Depths(u.layer), (D{-4, 1, 3}));
  EXPECT_EQ(u.layer.first, nine);
  EXPECT_EQ(nine->prev, nullptr);
  EXPECT_TRUE(Sound(u.layer));
}

TEST(SetDepth, FreeNodeOnlyStoresTheDepth) {
  VNode free(3, 0);
  EXPECT_EQ(free.SetDepth(-12), -12);
  EXPECT_EQ(free.Depth(), -12);
  EXPECT_EQ(free.prev, nullptr);
  EXPECT_EQ(free.next, nullptr);
  EXPECT_EQ(free.owner, nullptr);
}

TEST(MoveTo, OnlyNodeIntoEmptyLayer) {
  TestLayer from, to;
  VNode *n = from.Add(6);
  EXPECT_EQ(n->MoveTo(&to.layer), 1);
  EXPECT_EQ(from.layer.first, nullptr);
  EXPECT_EQ(from.layer.last, nullptr);
  EXPECT_EQ(to.layer.first, n);
  EXPECT_EQ(to.layer.last, n);
  EXPECT_EQ(n->owner, &to.layer);
  EXPECT_EQ(n->depth, 6);
  EXPECT_TRUE(Sound(to.layer));
}

TEST(MoveTo, GoesBeforeEqualDepthInTarget) {
  TestLayer from, to;
  from.AddAll({1, 7, 12});
  VNode *seven = Nodes(from.layer)[1];
  to.AddAll({2, 7, 10});
  VNode *old7 = Nodes(to.layer)[1];
  EXPECT_EQ(seven->MoveTo(&to.layer), 1);
  EXPECT_EQ(Depths(to.layer), (D{2, 7, 7, 10}));
  EXPECT_EQ(Nodes(to.layer)[1], seven);
  EXPECT_EQ(Nodes(to.layer)[2], old7);
  EXPECT_EQ(Depths(from.layer), (D{1, 12}));
  EXPECT_TRUE(Sound(from.layer));
  EXPECT_TRUE(Sound(to.layer));
}

TEST(MoveTo, IntoOwnLayerReturnsToOrderedPlace) {
  TestLayer t;
  t.AddAll({1, 5, 5, 9});
  std::vector<VNode *> n = Nodes(t.layer);
  // Re-entering from the first end, the node stands before its equals.
  EXPECT_EQ(n[2]->MoveTo(&t.layer), 1);
  EXPECT_EQ(Nodes(t.layer), (std::vector<VNode *>{n[0], n[2], n[1], n[3]}));
  EXPECT_EQ(n[2]->depth, 5);
  // The last node moved into its own layer ends last again.
  EXPECT_EQ(n[3]->MoveTo(&t.layer), 1);
  EXPECT_EQ(t.layer.last, n[3]);
  // A node of depth 0 or less comes back first.
  n[1]->SetDepth(-2);
  EXPECT_EQ(t.layer.first, n[1]);
  EXPECT_EQ(n[1]->MoveTo(&t.layer), 1);
  EXPECT_EQ(t.layer.first, n[1]);
  EXPECT_EQ(n[1]->depth, -2);
  EXPECT_TRUE(Sound(t.layer));
}

TEST(MoveTo, NodeWithoutOwnerAnswersNoLayerAndDepthZero) {
  TestLayer to;
  to.Add(3);
  VNode free(1, 0);
  free.SetDepth(8);
  EXPECT_EQ(free.MoveTo(&to.layer), NODE_NOLAYER);
  EXPECT_EQ(free.depth, 0);
  EXPECT_EQ(free.owner, nullptr);
  EXPECT_EQ(free.MoveTo(nullptr), NODE_NOLAYER);
  EXPECT_EQ(Depths(to.layer), (D{3}));
}

// Misuse that the library refuses without touching any list: a null target,
// a node built with an owner but never linked, a node already taken out.
TEST(MoveTo, RefusesNullTargetAndUnlinkedNodes) {
  TestLayer from, to;
  from.AddAll({1, 4, 8});
  to.AddAll({2});
  std::vector<VNode *> n = Nodes(from.layer);

  EXPECT_EQ(n[1]->MoveTo(nullptr), NODE_NOLAYER);
  EXPECT_EQ(n[1]->depth, 4);
  EXPECT_EQ(n[1]->owner, &from.layer);
  EXPECT_EQ(Nodes(from.layer), n);

  VNode *owned = from.Keep(new VNode(&from.layer, 5, 0));
  owned->SetDepth(3);
  EXPECT_EQ(owned->MoveTo(&to.layer), NODE_NOLAYER);
  EXPECT_EQ(owned->depth, 3);
  EXPECT_EQ(owned->owner, &from.layer);

  n[0]->Unlink();
  EXPECT_EQ(n[0]->MoveTo(&to.layer), NODE_NOLAYER);
  EXPECT_EQ(n[0]->owner, &from.layer);
  EXPECT_EQ(n[0]->depth, 1);
  EXPECT_EQ(Nodes(from.layer), (std::vector<VNode *>{n[1], n[2]}));
  EXPECT_EQ(Depths(to.layer), (D{2}));
  EXPECT_TRUE(Sound(from.layer));
  EXPECT_TRUE(Sound(to.layer));
}

TEST(Unlink, FirstMiddleLastAndOnly) {
  struct Case {
    size_t index;
    D left;
  };
  for (const Case &c : {Case{0, {5, 9}}, Case{1, {1, 9}}, Case{2, {1, 5}}}) {
    TestLayer t;
    t.AddAll({1, 5, 9});
    std::vector<VNode *> n = Nodes(t.layer);
    VNode *gone = n[c.index];
    VNode *prev = gone->prev;
    VNode *next = gone->next;
    gone->Unlink();
    EXPECT_EQ(Depths(t.layer), c.left) << "index " << c.index;
    EXPECT_TRUE(Sound(t.layer)) << "index " << c.index;
    if (prev != nullptr && next != nullptr) {
      EXPECT_EQ(prev->next, next);
      EXPECT_EQ(next->prev, prev);
    }
    // The taken-out node keeps what it held.
    EXPECT_EQ(gone->prev, prev);
    EXPECT_EQ(gone->next, next);
    EXPECT_EQ(gone->owner, &t.layer);
    EXPECT_EQ(gone->depth, n[c.index]->depth);
    EXPECT_FALSE(gone->IsLinked());
  }

  TestLayer only;
  VNode *n = only.Add(4, 77);
  n->Unlink();
  EXPECT_EQ(only.layer.first, nullptr);
  EXPECT_EQ(only.layer.last, nullptr);
  EXPECT_EQ(n->owner, &only.layer);
  EXPECT_EQ(n->depth, 4);
  EXPECT_EQ(n->tag, 77);
}

// A node that is not in its owner's list still points into it; acting on
// those stale pointers would cut live nodes out of the list.
TEST(Unlink, RefusedOnNodesNotInTheList) {
  TestLayer t;
  t.AddAll({1, 5, 9});
  std::vector<VNode *> n = Nodes(t.layer);
  n[0]->Unlink();
  n[1]->Unlink();
  ASSERT_EQ(Depths(t.layer), (D{9}));
  n[0]->Unlink(); // still has no prev and names n[1] as next
  EXPECT_EQ(t.layer.first, n[2]);
  EXPECT_EQ(t.layer.last, n[2]);
  EXPECT_EQ(n[2]->prev, nullptr);
  EXPECT_TRUE(Sound(t.layer));

  TestLayer u;
  u.AddAll({1, 5, 9});
  std::vector<VNode *> m = Nodes(u.layer);
  m[1]->Unlink();
  m[2]->Unlink();
  m[1]->Unlink(); // still names m[0] and m[2] as neighbours
  EXPECT_EQ(Depths(u.layer), (D{1}));
  EXPECT_EQ(m[0]->next, nullptr);
  EXPECT_EQ(u.layer.last, m[0]);
  EXPECT_TRUE(Sound(u.layer));

  // Built with an owner, never linked: no neighbours, like an only node.
  VNode *owned = t.Keep(new VNode(&t.layer, 0, 0));
  owned->Unlink();
  EXPECT_EQ(Depths(t.layer), (D{9}));
  owned->SetDepth(50);
  EXPECT_EQ(owned->depth, 50);
  EXPECT_EQ(Depths(t.layer), (D{9}));
  EXPECT_TRUE(Sound(t.layer));
  // SetDepth on a taken-out node only stores the depth.
  EXPECT_EQ(m[1]->SetDepth(-7), -7);
  EXPECT_EQ(Depths(u.layer), (D{1}));
  EXPECT_EQ(m[1]->prev, m[0]);
  EXPECT_TRUE(Sound(u.layer));

  VNode free;
  free.Unlink();
  EXPECT_EQ(free.prev, nullptr);
  EXPECT_EQ(free.owner, nullptr);
}

TEST(NewLayer, StoresEachNewLayerWithoutLinkingOrFreeing) {
  VProg prog;
  VLayer *first = prog.NewLayer(123);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(prog.layers, first);
  first->Add(3, 0, 0);
  VLayer *second = prog.NewLayer(-1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(prog.layers, second);
  EXPECT_NE(second, first);
  EXPECT_EQ(second->first, nullptr);
  EXPECT_EQ(second->next, nullptr);
  EXPECT_EQ(first->next, nullptr);
  // Both layers stay the caller's to free; the first is still intact.
  EXPECT_EQ(first->first->depth, 3);
  delete first->first;
  delete first;
  delete second;
  prog.layers = nullptr;
}

} // namespace
