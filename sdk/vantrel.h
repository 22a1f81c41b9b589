// vantrel.h - the contract between the Vantrel engine host and a game module.
//
// A game module is a dynamic library named "prog.dll" that exports exactly two
// functions, VProgInterface and VProgProcedure (see VANTREL_EXPORTS below). The
// host loads it at start-up, hands it the address of its one interface record
// `prog` (a VProg) and from then on calls VProgProcedure once per idle turn and
// once per input event. The module calls back into the host only through the
// five callback slots of that record, and only from inside its two entry points.
//
// Byte layout. On the 32-bit Windows build (the reference) every record below
// has exactly the size and field offsets written next to it: little-endian,
// 32-bit integers, 32-bit pointers. The static_asserts at the end of this
// header hold the compiler to that. On 64-bit desktop builds pointers are 8
// bytes, so records that hold pointers are larger and their offsets follow the
// natural layout of that ABI; field order and meaning are the same.
//
// Memory. The host owns `prog`, the image list (every VImg and its VSurf) and
// every display surface; a module never frees an image. The module owns every
// scene record it builds (layers, maps and their cell arrays, sprites, nodes);
// the host only reads them and never frees one. The scene library below is
// compiled into the host and into every module alike, so each side allocates
// and frees with its own C runtime.
//
// Threads. There is one thread. The host calls the module, and the module
// calls the host back, only on the thread that entered the host.
#ifndef VANTREL_H
#define VANTREL_H

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Calling conventions
// ---------------------------------------------------------------------------
#if defined(_WIN32) && !defined(_WIN64)
#define VANTREL_STDCALL __stdcall // the two module entry points
#define VANTREL_CDECL __cdecl     // the five callback slots
#else
#define VANTREL_STDCALL
#define VANTREL_CDECL
#endif

#if defined(_WIN32)
#define VANTREL_EXPORT __declspec(dllexport)
#else
#define VANTREL_EXPORT __attribute__((visibility("default")))
#endif

// ---------------------------------------------------------------------------
// Event codes, written by the host into prog.event.code before each call
// ---------------------------------------------------------------------------
enum : int32_t {
  EV_FRAME = 2000,       // idle turn; also written back after key-up, mouse and button events
  EV_SHUTDOWN = 2001,    // last call of the run (elapsed 0); also after a failed start-up step
  EV_INIT = 2003,        // first call of the run (elapsed 0); value after construction
  EV_KEYDOWN = 2100,     // key pressed (never Escape): event.key holds its key code
  EV_KEYUP = 2101,       // key released (Escape included): event.key holds its key code
  EV_MOUSEMOVE = 2200,   // pointer moved: event.mouseX / event.mouseY hold the position
  EV_LBUTTONDOWN = 2210, // left button pressed; position stays that of the last move
  EV_LBUTTONUP = 2211,   // left button released
  EV_RBUTTONDOWN = 2220, // right button pressed
  EV_RBUTTONUP = 2221,   // right button released
};

// ---------------------------------------------------------------------------
// Numeric codes used across the system
// ---------------------------------------------------------------------------
enum : int32_t {
  NO_SURFACE = -3, // an image has no surface holder, or no surface was created
  HIDDEN = -5,     // VMap.state / VSprite.state value that keeps the record from being drawn
  EVENT_AUX_DEFAULT = 2300, // value of event.aux for the whole run
  IMG_EMPTY = 3000,         // VImg.state of a default-constructed image
  IMG_NAMED = 3001,         // VImg.state of an image constructed with a file name
  IMG_DEFER = 3100,    // VImg.loadFlag: do not load now (also the answer of such a load request)
  IMG_LOAD = 3101,     // VImg.loadFlag: load the bitmap when the image is added
  MAP_SHOWN = 4000,    // VMap.state after construction
  MAP_NOMEM = 4100,    // the cell array of a map could not be allocated
  NODE_NOLAYER = 5100, // a list node belongs to no layer
  SPR_SHOWN = 6000,    // VSprite.state after construction
  MODULE_VERSION_MAX = 201, // highest VProg.version this host accepts
};

struct VProg;
struct VImg;
struct VMap;
struct VSprite;
struct VLayer;
struct VNode;

// ---------------------------------------------------------------------------
// The five callback slots (cdecl: the caller removes the arguments)
// ---------------------------------------------------------------------------
// Sets the display mode width x height x bpp and builds its flipping chain.
// Answers 1 when the mode stands, else 0 after the box "SetDisplayMode failed"
// (or the box naming the surface call that failed).
typedef int32_t(VANTREL_CDECL *VSetModeFn)(int32_t width, int32_t height, int32_t bpp);
// Draws the map's viewRows x viewCols grid of tiles from the tileset (the
// first image on prog.ihead) into the back buffer, clipped and colour-keyed.
// Draws a HIDDEN map too. Always answers 1.
typedef int32_t(VANTREL_CDECL *VDrawMapFn)(VMap *map);
// Appends a new image to prog.ihead and, with IMG_LOAD, reads the bitmap file
// `file` into a surface keyed on its top-left pixel. Answers the image, or null
// after a box when it could not be created or loaded (it stays on the list).
typedef VImg *(VANTREL_CDECL *VAddImageFn)(const char *file, int32_t loadFlag);
// Draws the sprite into the back buffer, clipped and colour-keyed, copied when
// its source and destination sizes match, else stretched. Skips a HIDDEN
// sprite. Always answers 1.
typedef int32_t(VANTREL_CDECL *VDrawSpriteFn)(VSprite *sprite);
// Shows `text` in a modal box captioned "Report". Answers 1 once it is closed.
typedef int32_t(VANTREL_CDECL *VReportFn)(const char *text);

// ---------------------------------------------------------------------------
// VSurf: an image's surface holder (12 bytes). Host-owned.
// ---------------------------------------------------------------------------
struct VSurf {
  // 0: the off-screen surface; written by the host's upload. An IDirectDrawSurface4* only in
  // Windows' exclusive play: in a window or borderless, on the desktop and in a replay it is the
  // host's own surface, to be compared or handed back, never called through
  void *surface;
  // 4: the bitmap's width in pixels; written by the host's upload, read only by the module
  int32_t width;
  // 8: the bitmap's height in pixels; written by the host's upload, read only by the module
  int32_t height;

  VSurf(); // all three fields 0
};

// ---------------------------------------------------------------------------
// VImg: one image on the host's image list (272 bytes). Host-owned.
// ---------------------------------------------------------------------------
struct VImg {
  // 0: bitmap file name, zero-terminated; written by the host when the image is added
  char name[256];
  // 256: IMG_EMPTY or IMG_NAMED; written by the constructor, read by nobody
  int32_t state;
  // 260: IMG_LOAD or IMG_DEFER as the module passed it to AddImage
  int32_t loadFlag;
  // 264: the next image on the list, null at the tail; written by the host
  VImg *next;
  // 268: the image's surface holder, owned by the image; null when its allocation failed
  VSurf *surf;

  // Default constructor: state IMG_EMPTY, loadFlag IMG_DEFER, next and surf
  // null; name is left as it is.
  VImg();
  // File-name constructor: copies at most 255 characters of `file` into name,
  // fills the rest of bytes 0..254 with zeros and always writes a terminator
  // at byte 255; state IMG_NAMED, loadFlag and surf as given, next null.
  // A null `file` gives an empty name.
  VImg(VSurf *holder, const char *file, int32_t loadFlag);
  // Frees the holder, then destroys and frees every image behind this one.
  ~VImg();

  VImg(const VImg &) = delete;
  VImg &operator=(const VImg &) = delete;
};

// ---------------------------------------------------------------------------
// VEvent: the current event, inside prog (20 bytes). Host-written.
// ---------------------------------------------------------------------------
struct VEvent {
  // 0: EV_... code of the current call; written by the host before every procedure call
  int32_t code;
  // 4: low 8 bits of the virtual-key code of the last key event; written by the host
  uint8_t key;
  // 5: zeroed at construction, never written again
  uint8_t reserved;
  // 6: alignment, never written
  uint8_t pad[2];
  // 8: EVENT_AUX_DEFAULT (2300) for the whole run
  int32_t aux;
  // 12: x of the last mouse move in display pixels (0..65535); written by the host
  int32_t mouseX;
  // 16: y of the last mouse move in display pixels (0..65535); written by the host
  int32_t mouseY;

  VEvent(); // code EV_INIT, key 0, reserved 0, aux 2300, mouse 0, 0
};

// ---------------------------------------------------------------------------
// VProg: the interface record `prog` (56 bytes). Host-owned; its address is
// handed to the module once, through VProgInterface.
// ---------------------------------------------------------------------------
struct VProg {
  // 0: first layer of the scene; written by the module or NewLayer, walked by the render pass
  VLayer *layers;
  // 4: zeroed at construction, never used
  int32_t reserved;
  // 8: first image of the image list; written by the host on the first AddImage
  VImg *ihead;
  // 12: the current event; written by the host before each procedure call
  VEvent event;
  // 32: interface version of the module; written by the module inside VProgInterface (at most 201)
  int32_t version;
  // 36: filled by the host before VProgInterface; called by the module
  VSetModeFn SetMode;
  // 40: filled by the host before VProgInterface; called by the module
  VDrawMapFn DrawMap;
  // 44: filled by the host before VProgInterface; called by the module
  VAddImageFn AddImage;
  VDrawSpriteFn DrawSprite; // 48: filled by the host before VProgInterface; called by the module
  // 52: filled by the host before VProgInterface; called by the module
  VReportFn Report;

  // layers, reserved, ihead and version 0, event as VEvent(); the callback
  // slots are left as they are (the host's prog lives in zeroed static storage).
  VProg();
  // Frees the image list from ihead. The scene (layers and everything below)
  // belongs to the module and is not freed.
  ~VProg();

  // Allocates a new empty layer and stores it in `layers` (null when the
  // allocation failed). The layer stored there before is neither freed nor
  // linked to the new one. Answers the value now in `layers`.
  VLayer *NewLayer(int32_t ignored);

  VProg(const VProg &) = delete;
  VProg &operator=(const VProg &) = delete;
};

// ---------------------------------------------------------------------------
// VCell: one cell of a tile map (12 bytes). Module-owned.
// ---------------------------------------------------------------------------
struct VCell {
  // 0: column of the tile in the tileset, in tiles; written by the module, read by the host
  int32_t tileCol;
  // 4: row of the tile in the tileset, in tiles; written by the module, read by the host
  int32_t tileRow;
  // 8: the module's own per-cell value; the host never reads it
  int32_t value;

  VCell();                       // {0, 0, 0}
  explicit VCell(int32_t value); // {0, 0, value}
};

// ---------------------------------------------------------------------------
// VMap: a tile map (52 bytes). Module-owned; owns its cell array.
// ---------------------------------------------------------------------------
struct VMap {
  // 0: screen x of the first drawn column; written by the module, read by the host
  int32_t x;
  // 4: screen y of the first drawn row; written by the module, read by the host
  int32_t y;
  // 8: tiles drawn per screen row; written by the module, read by the host
  uint32_t viewCols;
  // 12: screen rows of tiles drawn; written by the module, read by the host
  uint32_t viewRows;
  // 16: never set by a constructor, never read by the host
  int32_t reserved16;
  // 20: never set by a constructor, never read by the host
  int32_t reserved20;
  // 24: tile width in pixels, on the screen and in the tileset; read by the host
  int32_t tileW;
  // 28: tile height in pixels; read by the host
  int32_t tileH;
  // 32: columns of the cell array; sizes the array and bounds what the host reads
  int32_t cols;
  // 36: rows of the cell array; sizes the array and bounds what the host reads
  int32_t rows;
  // 40: MAP_SHOWN or any value draws; HIDDEN keeps the render pass from drawing it
  int32_t state;
  // 44: the module's own value; the host never reads it
  int32_t extra;
  // 48: cols x rows cells, drawn in array order; set by Alloc/AllocFill, freed by ~VMap
  VCell *cells;

  VMap();                           // everything 0, state MAP_SHOWN, cells null; no array
  VMap(int32_t cols, int32_t rows); // then Alloc()
  VMap(int32_t cols, int32_t rows, int32_t fill); // then AllocFill(fill), also for 0
  // Full constructor: Alloc() when fill is 0, else AllocFill(fill); then the
  // remaining fields as given.
  VMap(int32_t cols, int32_t rows, int32_t fill, int32_t state, int32_t x, int32_t y,
       uint32_t viewCols, uint32_t viewRows, int32_t tileW, int32_t tileH, int32_t extra);
  ~VMap(); // releases the cell array

  // Allocates cols x rows cells, each {0, 0, 0}, releasing any array held
  // before. Answers 1, or MAP_NOMEM with cells null when the allocation failed
  // or the count is negative or too large to allocate.
  int32_t Alloc();
  // As Alloc, then sets every cell's value. Answers 1 or MAP_NOMEM.
  int32_t AllocFill(int32_t value);

  VMap(const VMap &) = delete;
  VMap &operator=(const VMap &) = delete;
};

// ---------------------------------------------------------------------------
// VSprite: one rectangle of one image drawn at a place and size (40 bytes).
// Module-owned; the host reads every field of a sprite it draws, writes none.
// ---------------------------------------------------------------------------
struct VSprite {
  // 0: left edge of the source rectangle in the image
  int32_t srcX;
  // 4: top edge of the source rectangle
  int32_t srcY;
  // 8: source width
  int32_t srcW;
  // 12: source height
  int32_t srcH;
  // 16: screen x of the left edge
  int32_t dstX;
  // 20: screen y of the top edge
  int32_t dstY;
  // 24: width on the screen (stretched when it differs from srcW)
  int32_t dstW;
  // 28: height on the screen (stretched when it differs from srcH)
  int32_t dstH;
  // 32: an image returned by AddImage; borrowed from the host
  VImg *image;
  // 36: SPR_SHOWN or any value draws; HIDDEN keeps it from being drawn
  int32_t state;

  VSprite();                     // rectangles 0, image null, state SPR_SHOWN
  explicit VSprite(VImg *image); // rectangles 0, state SPR_SHOWN
  VSprite(VImg *image, int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH, int32_t dstX,
          int32_t dstY, int32_t dstW, int32_t dstH, int32_t state);

  // Accessors over the eight rectangle words: a reader for each, and a setter
  // that stores its argument and answers the new value.
  int32_t DstX() const;
  int32_t DstY() const;
  int32_t DstW() const;
  int32_t DstH() const;
  int32_t SrcX() const;
  int32_t SrcY() const;
  int32_t SrcW() const;
  int32_t SrcH() const;
  int32_t SetDstX(int32_t v);
  int32_t SetDstY(int32_t v);
  int32_t SetDstW(int32_t v);
  int32_t SetDstH(int32_t v);
  int32_t SetSrcX(int32_t v);
  int32_t SetSrcY(int32_t v);
  int32_t SetSrcW(int32_t v);
  int32_t SetSrcH(int32_t v);
};

// ---------------------------------------------------------------------------
// VLayer: one layer of the scene (24 bytes). Module-owned.
// ---------------------------------------------------------------------------
struct VLayer {
  // 0: the layer's tile map; set by the module, read by the host's render pass
  VMap *map;
  // 4: node of lowest depth, null when empty; kept by Add/SetDepth/MoveTo/Unlink
  VNode *first;
  // 8: node of highest depth, null when empty; kept by the same operations
  VNode *last;
  // 12: zeroed at construction, never used
  int32_t reserved12;
  // 16: the next layer, drawn over this one; set by the module, read by the host
  VLayer *next;
  // 20: zeroed at construction, never used
  int32_t reserved20;

  VLayer();  // all six words 0 or null
  ~VLayer(); // frees nothing: not the map, the nodes nor the next layer

  // Allocates a node (owner this layer, the given tag) and puts it in the list
  // at `depth`: before any node of the same depth. A depth of 0 or less always
  // puts it first. Answers the node, or null (layer unchanged) when the
  // allocation failed.
  VNode *Add(int32_t depth, int32_t tag, int32_t ignored);

  VLayer(const VLayer &) = delete;
  VLayer &operator=(const VLayer &) = delete;
};

// ---------------------------------------------------------------------------
// VNode: one entry of a layer's depth-ordered sprite list (44 bytes).
// Module-owned; does not own its sprite.
// ---------------------------------------------------------------------------
struct VNode {
  // 0: the sprite drawn for this node, or null (skipped); set by the module
  VSprite *sprite;
  // 4: zeroed at construction, never used
  int32_t reserved[5];
  // 24: neighbour toward `first`, null for the first node; kept by the library
  VNode *prev;
  // 28: neighbour toward `last`, null for the last node; kept by the library
  VNode *next;
  // 32: the module's own value, given at construction
  int32_t tag;
  // 36: drawing depth; written through SetDepth
  int32_t depth;
  // 40: the layer whose list holds the node, or null; kept by the library
  VLayer *owner;

  VNode();                                            // all fields 0 or null: a free node
  VNode(int32_t tag, int32_t ignored);                // a free node with a tag
  VNode(VLayer *owner, int32_t tag, int32_t ignored); // owner set, not yet linked

  // The node's depth.
  int32_t Depth() const;
  // Moves the node to depth d in its owner's list: toward `last` it stands
  // before the nodes of depth d, toward `first` after them; a node whose
  // neighbours already enclose d keeps its place. On a free node, or one not
  // linked in its owner's list, it only stores d. Answers d.
  int32_t SetDepth(int32_t d);
  // Moves the node into `target` (its own layer allowed) at its depth.
  // Answers 1; NODE_NOLAYER when the node has no owner (its depth then reads
  // 0); NODE_NOLAYER with nothing changed when the target is null or the node
  // is not linked in its owner's list.
  int32_t MoveTo(VLayer *target);
  // Takes the node out of its owner's list; it keeps its prev, next, owner
  // and depth. Does nothing on a node that is not linked.
  void Unlink();
  // True when the node is linked in its owner's list (constant time).
  bool IsLinked() const;
};

// ---------------------------------------------------------------------------
// The module's two entry points (stdcall, exported undecorated)
// ---------------------------------------------------------------------------
// Called once at start-up with the address of the host's record. Keep the
// pointer. Answer 0 to refuse the record (the host then shuts down), non-zero
// to accept it.
typedef int32_t(VANTREL_STDCALL *VProgInterfaceFn)(VProg *prog);
// Called with EV_INIT and 0 once after VProgInterface, then on every idle turn
// (EV_FRAME) and input event with the milliseconds since the previous call
// returned, and with EV_SHUTDOWN and 0 at the end. Answer non-zero to have the
// host draw the scene and present it now (ignored for EV_INIT and EV_SHUTDOWN).
typedef int32_t(VANTREL_STDCALL *VProgProcedureFn)(int32_t elapsedMs);

// A module declares its two entry points with this macro, e.g.
//   VANTREL_EXPORTS
//   int32_t VANTREL_STDCALL VProgInterface(VProg *p) { ... }
//   int32_t VANTREL_STDCALL VProgProcedure(int32_t ms) { ... }
// On Windows the undecorated export names come from the module build helper
// (cmake/VantrelModule.cmake) or from sdk/prog.def.
#define VANTREL_EXPORTS                                                                            \
  extern "C" VANTREL_EXPORT int32_t VANTREL_STDCALL VProgInterface(VProg *prog);                   \
  extern "C" VANTREL_EXPORT int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs);

// ---------------------------------------------------------------------------
// The byte layout of the reference (32-bit) build
// ---------------------------------------------------------------------------
#if UINTPTR_MAX == 0xFFFFFFFFu
#define VANTREL_LAYOUT(T, f, off) static_assert(offsetof(T, f) == (off), #T "." #f " offset");
static_assert(sizeof(VProg) == 56, "VProg size");
VANTREL_LAYOUT(VProg, layers, 0)
VANTREL_LAYOUT(VProg, reserved, 4)
VANTREL_LAYOUT(VProg, ihead, 8)
VANTREL_LAYOUT(VProg, event, 12)
VANTREL_LAYOUT(VProg, version, 32)
VANTREL_LAYOUT(VProg, SetMode, 36)
VANTREL_LAYOUT(VProg, DrawMap, 40)
VANTREL_LAYOUT(VProg, AddImage, 44)
VANTREL_LAYOUT(VProg, DrawSprite, 48)
VANTREL_LAYOUT(VProg, Report, 52)
static_assert(sizeof(VEvent) == 20, "VEvent size");
VANTREL_LAYOUT(VEvent, code, 0)
VANTREL_LAYOUT(VEvent, key, 4)
VANTREL_LAYOUT(VEvent, reserved, 5)
VANTREL_LAYOUT(VEvent, aux, 8)
VANTREL_LAYOUT(VEvent, mouseX, 12)
VANTREL_LAYOUT(VEvent, mouseY, 16)
static_assert(sizeof(VImg) == 272, "VImg size");
VANTREL_LAYOUT(VImg, name, 0)
VANTREL_LAYOUT(VImg, state, 256)
VANTREL_LAYOUT(VImg, loadFlag, 260)
VANTREL_LAYOUT(VImg, next, 264)
VANTREL_LAYOUT(VImg, surf, 268)
static_assert(sizeof(VSurf) == 12, "VSurf size");
VANTREL_LAYOUT(VSurf, surface, 0)
VANTREL_LAYOUT(VSurf, width, 4)
VANTREL_LAYOUT(VSurf, height, 8)
static_assert(sizeof(VMap) == 52, "VMap size");
VANTREL_LAYOUT(VMap, x, 0)
VANTREL_LAYOUT(VMap, y, 4)
VANTREL_LAYOUT(VMap, viewCols, 8)
VANTREL_LAYOUT(VMap, viewRows, 12)
VANTREL_LAYOUT(VMap, reserved16, 16)
VANTREL_LAYOUT(VMap, reserved20, 20)
VANTREL_LAYOUT(VMap, tileW, 24)
VANTREL_LAYOUT(VMap, tileH, 28)
VANTREL_LAYOUT(VMap, cols, 32)
VANTREL_LAYOUT(VMap, rows, 36)
VANTREL_LAYOUT(VMap, state, 40)
VANTREL_LAYOUT(VMap, extra, 44)
VANTREL_LAYOUT(VMap, cells, 48)
static_assert(sizeof(VCell) == 12, "VCell size");
VANTREL_LAYOUT(VCell, tileCol, 0)
VANTREL_LAYOUT(VCell, tileRow, 4)
VANTREL_LAYOUT(VCell, value, 8)
static_assert(sizeof(VSprite) == 40, "VSprite size");
VANTREL_LAYOUT(VSprite, srcX, 0)
VANTREL_LAYOUT(VSprite, srcY, 4)
VANTREL_LAYOUT(VSprite, srcW, 8)
VANTREL_LAYOUT(VSprite, srcH, 12)
VANTREL_LAYOUT(VSprite, dstX, 16)
VANTREL_LAYOUT(VSprite, dstY, 20)
VANTREL_LAYOUT(VSprite, dstW, 24)
VANTREL_LAYOUT(VSprite, dstH, 28)
VANTREL_LAYOUT(VSprite, image, 32)
VANTREL_LAYOUT(VSprite, state, 36)
static_assert(sizeof(VLayer) == 24, "VLayer size");
VANTREL_LAYOUT(VLayer, map, 0)
VANTREL_LAYOUT(VLayer, first, 4)
VANTREL_LAYOUT(VLayer, last, 8)
VANTREL_LAYOUT(VLayer, reserved12, 12)
VANTREL_LAYOUT(VLayer, next, 16)
VANTREL_LAYOUT(VLayer, reserved20, 20)
static_assert(sizeof(VNode) == 44, "VNode size");
VANTREL_LAYOUT(VNode, sprite, 0)
VANTREL_LAYOUT(VNode, reserved, 4)
VANTREL_LAYOUT(VNode, prev, 24)
VANTREL_LAYOUT(VNode, next, 28)
VANTREL_LAYOUT(VNode, tag, 32)
VANTREL_LAYOUT(VNode, depth, 36)
VANTREL_LAYOUT(VNode, owner, 40)
#undef VANTREL_LAYOUT
#endif

#endif // VANTREL_H
