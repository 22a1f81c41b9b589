// A reference model of layer lists, driven side by side with the scene
// library, and a checker that holds the library's records against it.
//
// The model keeps each layer's list as a vector of node ids. A depth change
// scans that vector: a node moving toward higher depth stops before the first
// later node of the new depth or more, a node moving toward lower depth stops
// after the first earlier node of the new depth or less. Each node also
// carries a sort key (depth, order): entering a list or moving up gives it an
// order below every other, moving down one above every other. While every
// depth is 0 or more, each list must be sorted by that key, which restates the
// tie-breaks without the scan.
//
// Nodes are never freed before the scene is torn down, so a taken-out node's
// remembered neighbours stay readable and the library's constant-time linked
// test stays valid for it.
#ifndef VANTREL_TESTS_SCENE_LIST_MODEL_H
#define VANTREL_TESTS_SCENE_LIST_MODEL_H

#include "vantrel.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace listmodel {

// free: built without owner; owned: built with an owner, never linked;
// linked: in its owner's list; taken out: unlinked after being linked.
enum class Kind { Free, Owned, Linked, TakenOut };

struct ModelNode {
  Kind kind = Kind::Free;
  int layer = -1; // owner's index, -1 for none
  int32_t depth = 0;
  int32_t tag = 0;
  int prev = -1; // neighbours remembered when the node was taken out
  int next = -1;
  int64_t order = 0; // sort key among nodes of equal depth
};

class Scene {
public:
  explicit Scene(int layerCount) {
    for (int i = 0; i < layerCount; ++i) {
      layers_.push_back(new VLayer());
      lists_.emplace_back();
    }
  }
  ~Scene() {
    for (VNode *n : lib_) {
      delete n;
    }
    for (VLayer *l : layers_) {
      delete l;
    }
  }
  Scene(const Scene &) = delete;
  Scene &operator=(const Scene &) = delete;

  int LayerCount() const { return static_cast<int>(layers_.size()); }
  int NodeCount() const { return static_cast<int>(lib_.size()); }
  VLayer *Layer(int i) const { return layers_[static_cast<size_t>(i)]; }
  VNode *Node(int id) const { return lib_[static_cast<size_t>(id)]; }
  const ModelNode &Model(int id) const { return model_[static_cast<size_t>(id)]; }

  // Each operation answers an empty string, or what the library answered
  // differently from the model.
  std::string Add(int layer, int32_t depth, int32_t tag, int32_t ignored) {
    VNode *n = Layer(layer)->Add(depth, tag, ignored);
    if (n == nullptr) {
      return "Add answered null";
    }
    const int id = Push(n, Kind::Linked, layer, tag);
    LinkFirst(id, layer);
    Place(id, depth);
    return "";
  }

  void NewFree(int32_t tag, int32_t ignored) { Push(new VNode(tag, ignored), Kind::Free, -1, tag); }

  void NewOwned(int layer, int32_t tag, int32_t ignored) {
    Push(new VNode(Layer(layer), tag, ignored), Kind::Owned, layer, tag);
  }

  std::string SetDepth(int id, int32_t d) {
    const int32_t got = Node(id)->SetDepth(d);
    Place(id, d);
    if (got != d) {
      return "SetDepth answered " + std::to_string(got);
    }
    return "";
  }

  // target -1 stands for a null target.
  std::string MoveTo(int id, int target) {
    const int32_t got = Node(id)->MoveTo(target < 0 ? nullptr : Layer(target));
    ModelNode &m = At(id);
    int32_t want = NODE_NOLAYER;
    if (m.kind == Kind::Free) {
      m.depth = 0;
    } else if (m.kind == Kind::Linked && target >= 0) {
      const int32_t d = m.depth;
      TakeOut(id);
      m.layer = target;
      m.depth = 0;
      LinkFirst(id, target);
      Place(id, d);
      want = 1;
    }
    if (got != want) {
      return "MoveTo answered " + std::to_string(got) + ", expected " + std::to_string(want);
    }
    return "";
  }

  void Unlink(int id) {
    Node(id)->Unlink();
    ModelNode &m = At(id);
    if (m.kind != Kind::Linked) {
      return;
    }
    const std::vector<int> &v = List(m.layer);
    const size_t i = IndexOf(id);
    m.prev = i > 0 ? v[i - 1] : -1;
    m.next = i + 1 < v.size() ? v[i + 1] : -1;
    TakeOut(id);
    m.kind = Kind::TakenOut;
  }

  // Compares every layer and every node with the model and checks invariants
  // 1 to 3; with `ordered`, also that depths ascend with the tie-breaks.
  std::string Check(bool ordered) const {
    for (int l = 0; l < LayerCount(); ++l) {
      std::string e = CheckLayer(l, ordered);
      if (!e.empty()) {
        return "layer " + std::to_string(l) + ": " + e + " (library " + Describe(Layer(l)) +
               ", model " + DescribeModel(l) + ")";
      }
    }
    for (int id = 0; id < NodeCount(); ++id) {
      std::string e = CheckNode(id);
      if (!e.empty()) {
        return "node " + std::to_string(id) + ": " + e;
      }
    }
    return "";
  }

  // A layer's list as id:depth items, first to last, walking at most `limit`
  // nodes; "..." marks a walk cut short and "?" a node the scene never made.
  std::string Describe(const VLayer *l, size_t limit = 64) const {
    std::ostringstream s;
    s << "[";
    const VNode *n = l->first;
    for (size_t i = 0; n != nullptr; ++i, n = n->next) {
      if (i == limit) {
        s << " ...";
        break;
      }
      int id = -1;
      for (int k = 0; k < NodeCount(); ++k) {
        id = Node(k) == n ? k : id;
      }
      s << (i ? " " : "") << (id < 0 ? "?" : std::to_string(id)) << ":" << n->depth;
    }
    s << "]";
    return s.str();
  }

private:
  ModelNode &At(int id) { return model_[static_cast<size_t>(id)]; }
  std::vector<int> &List(int l) { return lists_[static_cast<size_t>(l)]; }
  const std::vector<int> &List(int l) const { return lists_[static_cast<size_t>(l)]; }

  int Push(VNode *n, Kind kind, int layer, int32_t tag) {
    lib_.push_back(n);
    ModelNode m;
    m.kind = kind;
    m.layer = layer;
    m.tag = tag;
    model_.push_back(m);
    return NodeCount() - 1;
  }

  size_t IndexOf(int id) const {
    const std::vector<int> &v = List(Model(id).layer);
    size_t i = 0;
    while (v[i] != id) {
      ++i;
    }
    return i;
  }

  void TakeOut(int id) {
    std::vector<int> &v = List(Model(id).layer);
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(IndexOf(id)));
  }

  void LinkFirst(int id, int layer) {
    std::vector<int> &v = List(layer);
    v.insert(v.begin(), id);
    At(id).order = --low_;
  }

  // SetDepth on the model: moves a linked node, stores the depth of any node.
  void Place(int id, int32_t d) {
    ModelNode &m = At(id);
    if (m.kind == Kind::Linked && d != m.depth) {
      std::vector<int> &v = List(m.layer);
      const size_t i = IndexOf(id);
      size_t to = i;
      if (d > m.depth) {
        size_t j = i + 1;
        while (j < v.size() && Model(v[j]).depth < d) {
          ++j;
        }
        to = j - 1; // index once the node is out of the vector
        m.order = --low_;
      } else {
        size_t j = i; // one past the candidate
        while (j > 0 && Model(v[j - 1]).depth > d) {
          --j;
        }
        to = j;
        m.order = ++high_;
      }
      v.erase(v.begin() + static_cast<std::ptrdiff_t>(i));
      v.insert(v.begin() + static_cast<std::ptrdiff_t>(to), id);
    }
    m.depth = d;
  }

  std::string CheckLayer(int l, bool ordered) const {
    const VLayer *layer = Layer(l);
    const std::vector<int> &v = List(l);
    if ((layer->first == nullptr) != (layer->last == nullptr)) {
      return "first and last disagree on emptiness";
    }
    const VNode *prev = nullptr;
    const VNode *n = layer->first;
    for (size_t i = 0; i < v.size(); ++i, prev = n, n = n->next) {
      if (n == nullptr) {
        return "list ends after " + std::to_string(i) + " nodes";
      }
      if (n != Node(v[i])) {
        return "wrong node at position " + std::to_string(i);
      }
      if (n->prev != prev) {
        return "prev of position " + std::to_string(i) + " is not its neighbour";
      }
      if (n->owner != layer) {
        return "position " + std::to_string(i) + " has another owner";
      }
    }
    if (n != nullptr) {
      return "list runs past " + std::to_string(v.size()) + " nodes";
    }
    if (layer->last != prev) {
      return "last is not the final node";
    }
    if (ordered) {
      for (size_t i = 1; i < v.size(); ++i) {
        const ModelNode &a = Model(v[i - 1]);
        const ModelNode &b = Model(v[i]);
        if (a.depth > b.depth) {
          return "depths descend at position " + std::to_string(i);
        }
        if (a.depth == b.depth && a.order > b.order) {
          return "equal depths out of tie-break order at position " + std::to_string(i);
        }
      }
    }
    return "";
  }

  std::string CheckNode(int id) const {
    const VNode *n = Node(id);
    const ModelNode &m = Model(id);
    if (n->depth != m.depth || n->Depth() != m.depth) {
      return "depth " + std::to_string(n->depth) + ", expected " + std::to_string(m.depth);
    }
    if (n->tag != m.tag) {
      return "tag changed";
    }
    if (n->sprite != nullptr) {
      return "sprite written";
    }
    for (int32_t w : n->reserved) {
      if (w != 0) {
        return "reserved word written";
      }
    }
    const VLayer *owner = m.layer < 0 ? nullptr : Layer(m.layer);
    if (n->owner != owner) {
      return "owner differs";
    }
    if (n->IsLinked() != (m.kind == Kind::Linked)) {
      return "IsLinked answers " + std::string(n->IsLinked() ? "true" : "false");
    }
    if (m.kind == Kind::Free || m.kind == Kind::Owned) {
      if (n->prev != nullptr || n->next != nullptr) {
        return "unlinked node has neighbours";
      }
    } else if (m.kind == Kind::TakenOut) {
      const VNode *p = m.prev < 0 ? nullptr : Node(m.prev);
      const VNode *x = m.next < 0 ? nullptr : Node(m.next);
      if (n->prev != p || n->next != x) {
        return "taken-out node lost its old neighbours";
      }
    }
    return "";
  }

  std::string DescribeModel(int l) const {
    std::ostringstream s;
    s << "[";
    bool firstItem = true;
    for (int id : List(l)) {
      s << (firstItem ? "" : " ") << id << ":" << Model(id).depth;
      firstItem = false;
    }
    s << "]";
    return s.str();
  }

  std::vector<VLayer *> layers_;
  std::vector<std::vector<int>> lists_;
  std::vector<VNode *> lib_;
  std::vector<ModelNode> model_;
  int64_t low_ = 0;
  int64_t high_ = 0;
};

} // namespace listmodel

#endif // VANTREL_TESTS_SCENE_LIST_MODEL_H
