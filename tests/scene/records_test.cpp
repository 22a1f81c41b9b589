// The interface record and its event, the image records, and sprites:
// construction values, name copying, list destruction and the accessors.
#include "vantrel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

namespace {

TEST(ProgConstruction, EventAndFieldsStartAtTheirCodes) {
  const VEvent e;
  EXPECT_EQ(e.code, EV_INIT);
  EXPECT_EQ(e.key, 0);
  EXPECT_EQ(e.reserved, 0);
  EXPECT_EQ(e.aux, EVENT_AUX_DEFAULT);
  EXPECT_EQ(e.mouseX, 0);
  EXPECT_EQ(e.mouseY, 0);

  const VProg p;
  EXPECT_EQ(p.layers, nullptr);
  EXPECT_EQ(p.reserved, 0);
  EXPECT_EQ(p.ihead, nullptr);
  EXPECT_EQ(p.version, 0);
  EXPECT_EQ(p.event.code, 2003);
  EXPECT_EQ(p.event.aux, 2300);
}

// The record frees the host's image list, and leaves the first layer to the
// module that allocated it: the layer must still be readable afterwards, and
// the test frees it itself (AddressSanitizer reports a double free otherwise).
TEST(ProgDestruction, FreesImagesButNotTheFirstLayer) {
  auto *p = new VProg();
  VLayer *layer = p->NewLayer(0);
  ASSERT_NE(layer, nullptr);
  VNode *node = layer->Add(4, 0, 0);
  p->ihead = new VImg(new VSurf(), "tiles.bmp", IMG_LOAD);
  p->ihead->next = new VImg(nullptr, "hero.bmp", IMG_DEFER);
  delete p;
  EXPECT_EQ(layer->first, node);
  EXPECT_EQ(node->depth, 4);
  delete node;
  delete layer;

  auto *empty = new VProg();
  delete empty;
}

TEST(SurfConstruction, AllFieldsZero) {
  const VSurf s;
  EXPECT_EQ(s.surface, nullptr);
  EXPECT_EQ(s.width, 0);
  EXPECT_EQ(s.height, 0);
}

TEST(ImageConstruction, DefaultForm) {
  const VImg img;
  EXPECT_EQ(img.state, IMG_EMPTY);
  EXPECT_EQ(img.loadFlag, IMG_DEFER);
  EXPECT_EQ(img.next, nullptr);
  EXPECT_EQ(img.surf, nullptr);
}

// The image is built over memory full of garbage, as a fresh allocation may
// be, so every zero checked below was written by the constructor.
class NamedImage {
public:
  NamedImage(VSurf *holder, const char *file, int32_t flag) {
    std::memset(storage_, 0xAB, sizeof storage_);
    img_ = new (storage_) VImg(holder, file, flag);
  }
  ~NamedImage() { img_->~VImg(); }
  NamedImage(const NamedImage &) = delete;
  NamedImage &operator=(const NamedImage &) = delete;
  const VImg *operator->() const { return img_; }

private:
  alignas(VImg) unsigned char storage_[sizeof(VImg)];
  VImg *img_;
};

TEST(ImageConstruction, FileNameFormStoresFieldsAsGiven) {
  auto *holder = new VSurf();
  const NamedImage img(holder, "tiles.bmp", IMG_LOAD);
  EXPECT_STREQ(img->name, "tiles.bmp");
  EXPECT_EQ(img->state, IMG_NAMED);
  EXPECT_EQ(img->loadFlag, IMG_LOAD);
  EXPECT_EQ(img->next, nullptr);
  EXPECT_EQ(img->surf, holder);

  // Any load flag is stored as it came.
  const NamedImage odd(nullptr, "x", 0);
  EXPECT_EQ(odd->loadFlag, 0);
  EXPECT_EQ(odd->surf, nullptr);
}

TEST(ImageConstruction, ShortNameIsZeroFilledToTheEnd) {
  const NamedImage img(nullptr, "ten_chars_", IMG_DEFER);
  ASSERT_EQ(std::strlen(img->name), 10u);
  for (size_t i = 10; i < 256; ++i) {
    EXPECT_EQ(img->name[i], '\0') << "byte " << i;
  }
}

TEST(ImageConstruction, LongNamesKeep255CharactersAndATerminator) {
  for (size_t len : {254u, 255u, 256u, 300u, 4096u}) {
    std::string file(len, 'n');
    for (size_t i = 0; i < len; ++i) {
      file[i] = static_cast<char>('a' + i % 26);
    }
    const NamedImage img(nullptr, file.c_str(), IMG_LOAD);
    const size_t kept = len < 255 ? len : 255;
    EXPECT_EQ(std::strlen(img->name), kept) << "length " << len;
    EXPECT_EQ(std::memcmp(img->name, file.data(), kept), 0) << "length " << len;
    EXPECT_EQ(img->name[255], '\0') << "length " << len;
  }
}

TEST(ImageConstruction, NullFileGivesAnEmptyName) {
  const NamedImage img(nullptr, nullptr, IMG_LOAD);
  for (char c : img->name) {
    EXPECT_EQ(c, '\0');
  }
}

// Destroying the head frees every holder and every image behind it; a long
// list must not exhaust the stack. LeakSanitizer checks nothing is left.
TEST(ImageDestruction, FreesTheWholeListFromTheHead) {
  auto *head = new VImg(new VSurf(), "a", IMG_LOAD);
  VImg *tail = head;
  for (int i = 0; i < 100000; ++i) {
    tail->next = new VImg(i % 3 == 0 ? nullptr : new VSurf(), "b", IMG_DEFER);
    tail = tail->next;
  }
  delete head;

  auto *single = new VImg(nullptr, "c", IMG_LOAD);
  delete single;
}

TEST(SpriteConstruction, ThreeForms) {
  const VSprite plain;
  VImg img;
  const VSprite withImage(&img);
  for (const VSprite *s : {&plain, &withImage}) {
    EXPECT_EQ(s->srcX, 0);
    EXPECT_EQ(s->srcY, 0);
    EXPECT_EQ(s->srcW, 0);
    EXPECT_EQ(s->srcH, 0);
    EXPECT_EQ(s->dstX, 0);
    EXPECT_EQ(s->dstY, 0);
    EXPECT_EQ(s->dstW, 0);
    EXPECT_EQ(s->dstH, 0);
    EXPECT_EQ(s->state, SPR_SHOWN);
  }
  EXPECT_EQ(plain.image, nullptr);
  EXPECT_EQ(withImage.image, &img);

  const VSprite full(&img, 1, 2, 3, 4, 5, 6, 7, 8, 9);
  EXPECT_EQ(full.image, &img);
  EXPECT_EQ(full.srcX, 1);
  EXPECT_EQ(full.srcY, 2);
  EXPECT_EQ(full.srcW, 3);
  EXPECT_EQ(full.srcH, 4);
  EXPECT_EQ(full.dstX, 5);
  EXPECT_EQ(full.dstY, 6);
  EXPECT_EQ(full.dstW, 7);
  EXPECT_EQ(full.dstH, 8);
  EXPECT_EQ(full.state, 9);
}

// Each accessor pair reaches its own field and no other.
TEST(SpriteAccessors, EachPairReachesItsOwnField) {
  struct Accessor {
    const char *name;
    int32_t (VSprite::*get)() const;
    int32_t (VSprite::*set)(int32_t);
    int32_t VSprite::*field;
  };
  const Accessor all[] = {
      {"dstX", &VSprite::DstX, &VSprite::SetDstX, &VSprite::dstX},
      {"dstY", &VSprite::DstY, &VSprite::SetDstY, &VSprite::dstY},
      {"dstW", &VSprite::DstW, &VSprite::SetDstW, &VSprite::dstW},
      {"dstH", &VSprite::DstH, &VSprite::SetDstH, &VSprite::dstH},
      {"srcX", &VSprite::SrcX, &VSprite::SetSrcX, &VSprite::srcX},
      {"srcY", &VSprite::SrcY, &VSprite::SetSrcY, &VSprite::srcY},
      {"srcW", &VSprite::SrcW, &VSprite::SetSrcW, &VSprite::srcW},
      {"srcH", &VSprite::SrcH, &VSprite::SetSrcH, &VSprite::srcH},
  };
  for (const Accessor &a : all) {
    VSprite s(nullptr, 10, 11, 12, 13, 14, 15, 16, 17, 18);
    const VSprite before(nullptr, 10, 11, 12, 13, 14, 15, 16, 17, 18);
    EXPECT_EQ((s.*a.get)(), s.*a.field) << a.name;
    EXPECT_EQ((s.*a.set)(-321), -321) << a.name;
    EXPECT_EQ(s.*a.field, -321) << a.name;
    EXPECT_EQ((s.*a.get)(), -321) << a.name;
    for (const Accessor &other : all) {
      if (other.field != a.field) {
        EXPECT_EQ(s.*other.field, before.*other.field) << a.name << " wrote " << other.name;
      }
    }
    EXPECT_EQ(s.state, 18) << a.name;
  }
}

} // namespace
