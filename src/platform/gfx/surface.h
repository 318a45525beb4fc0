// Surfaces, clippers and the DirectDraw object that makes them. Every surface lives in
// memory; the primary surface is the program's screen and hands what is blitted onto it to a
// ScreenSink.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/gfx/batch_queue.h"
#include "platform/gfx/pixels.h"
#include "platform/gfx/result.h"

namespace gfx {

// Surface capabilities, with their published values.
inline constexpr std::uint32_t DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr std::uint32_t DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr std::uint32_t DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr std::uint32_t DDSCAPS_TEXTURE = 0x00001000;
inline constexpr std::uint32_t DDSCAPS_3DDEVICE = 0x00002000;

// Co-operation levels.
inline constexpr std::uint32_t DDSCL_NORMAL = 0x00000008;

// Lock flags (accepted; every lock of the layer completes at once).
inline constexpr std::uint32_t DDLOCK_WAIT = 0x00000001;
inline constexpr std::uint32_t DDLOCK_NOSYSLOCK = 0x00000800;

// BltFast flags.
inline constexpr std::uint32_t DDBLTFAST_NOCOLORKEY = 0x00000000;
inline constexpr std::uint32_t DDBLTFAST_SRCCOLORKEY = 0x00000001;
inline constexpr std::uint32_t DDBLTFAST_WAIT = 0x00000010;

// Blt flags.
inline constexpr std::uint32_t DDBLT_KEYSRC = 0x00008000;
inline constexpr std::uint32_t DDBLT_WAIT = 0x01000000;

// Colour key flags.
inline constexpr std::uint32_t DDCKEY_SRCBLT = 0x00000008;

// The interfaces a caller can ask an object for. Each object of the layer serves all the
// interfaces of its kind itself; asking only checks that the kind matches.
enum class Iid {
    DirectDraw,
    DirectDraw2,
    DirectDrawSurface,
    DirectDrawSurface3,
    Direct3D,
    Direct3D2,
    Direct3DRM,
    Direct3DRM2,
};

inline constexpr Result E_NOINTERFACE = static_cast<Result>(0x80004002u);
inline constexpr Result DDERR_NOCOLORKEY = static_cast<Result>(0x887600D7u);

struct ColorKey {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

// Describes a surface. For CreateSurface, caps, width and height (not for the primary
// surface) are read, and pixelFormat if given (otherwise the display's format is used).
// GetSurfaceDesc and Lock fill everything; Lock also fills bits.
struct SurfaceDesc {
    std::uint32_t caps = 0;
    int width = 0;
    int height = 0;
    int pitch = 0;
    std::optional<PixelFormat> pixelFormat;
    std::uint8_t* bits = nullptr;
};

class Surface;

// The screen behind the primary surface. Present is called once per Blt onto the primary
// surface: the source rectangle of source is to be scaled into destination (screen
// co-ordinates, nearest pixel), but only the parts inside the clip rectangles are written.
// The clip rectangles are already cut to the destination and the screen; they are never
// empty. ScalePixels does exactly this for a pixel buffer.
class ScreenSink {
public:
    virtual ~ScreenSink() = default;
    virtual void Present(const Surface& source, const Rect& sourceRect, const Rect& destination,
                         std::span<const Rect> clip) = 0;
};

// A screen held in memory, in the display's format: for tests and headless rendering.
class MemoryScreen final : public ScreenSink {
public:
    MemoryScreen(int width, int height, const PixelFormat& format);
    void Present(const Surface& source, const Rect& sourceRect, const Rect& destination,
                 std::span<const Rect> clip) override;

    const PixelView& View() const { return view_; }
    std::uint32_t PixelAt(int x, int y) const { return LoadPixel(view_.At(x, y), bpp_); }
    int PresentCount() const { return presentCount_; }

private:
    std::vector<std::uint8_t> pixels_;
    PixelView view_;
    int bpp_;
    int presentCount_ = 0;
};

// What the objects made by one DirectDraw object share: the display, the fault plan and the
// surfaces that queue their copies (see Surface::BeginBatch).
struct DisplayState {
    int width = 0;
    int height = 0;
    PixelFormat format;
    std::shared_ptr<FaultPlan> faults;
    std::shared_ptr<ScreenSink> screen;
    std::vector<Surface*> batching;
    std::size_t pendingCopies = 0;  // queued on all of them together
    std::uint64_t queueRuns = 0;    // how often the queues have been run
    // The bytes of a batching surface that one column block of its queue covers: with the
    // sources it reads it stays in the per-core cache.
    int batchBlockBytes = 512 * 1024;
    // The most work the queues hold together: at this bound what is queued runs before more
    // is queued, so that memory stays bounded whatever a caller queues.
    std::size_t maxQueuedWork = std::size_t{1} << 19;
};

// Carries out every copy queued on the display's batching surfaces.
void FlushPendingCopies(DisplayState& display);

// Clip list of screen rectangles, or the window a clipper follows.
class Clipper {
public:
    explicit Clipper(std::shared_ptr<DisplayState> display);

    // A list of at least one non-empty rectangle; DDERR_INVALIDCLIPLIST otherwise.
    Result SetClipList(std::span<const Rect> rects);
    // DDERR_NOCLIPLIST while no list is set.
    Result GetClipList(std::vector<Rect>& rects) const;
    // Binds the clipper to a window (any non-zero handle); DDERR_INVALIDPARAMS for 0.
    Result SetHWnd(std::uintptr_t window);

    bool HasClipList() const { return hasList_; }
    const std::vector<Rect>& ClipList() const { return rects_; }
    std::uintptr_t Window() const { return window_; }

private:
    std::shared_ptr<DisplayState> display_;
    std::vector<Rect> rects_;
    bool hasList_ = false;
    std::uintptr_t window_ = 0;
};

// Drawing onto a surface with colours instead of pixel values; got from Surface::GetDC.
class SurfaceDc {
public:
    explicit SurfaceDc(Surface& surface) : surface_(surface) {}
    // Out-of-range positions are ignored (SetPixel) or read as black (GetPixel).
    void SetPixel(int x, int y, Rgb colour);
    Rgb GetPixel(int x, int y) const;
    // Copies an 8-bit RGB picture (3 bytes per pixel, red first, rows stride bytes apart)
    // unscaled with its top-left corner at (x, y); parts outside the surface are dropped.
    void DrawRgb(int x, int y, int width, int height, const std::uint8_t* rgb, int stride);

private:
    Surface& surface_;
};

class Surface {
public:
    // Use DirectDraw::CreateSurface.
    Surface(std::shared_ptr<DisplayState> display, std::uint32_t caps, int width, int height,
            const PixelFormat& format);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface();

    Result QueryInterface(Iid iid);

    // Locks the whole surface: desc receives the pixel pointer, pitch, size and format. A
    // locked surface refuses a second lock, blits and a device context (DDERR_SURFACEBUSY).
    Result Lock(SurfaceDesc& desc, std::uint32_t flags = DDLOCK_WAIT);
    // Locks the surface as Lock does (with its failures) and edits rows [top, bottom): edit
    // is called with each row and reads and writes only the given columns of it. On a
    // batching surface the edits wait in its queue like its copies; otherwise they are made
    // at once. Unlock as after Lock.
    Result LockRows(int top, int bottom, std::span<const ColumnRange> columns, RowEdit edit);
    Result Unlock();
    Result GetPixelFormat(PixelFormat& format);
    Result GetSurfaceDesc(SurfaceDesc& desc);

    // Copies srcRect of source (all of it when null) to (x, y), unscaled, with the source's
    // colour key when flags has DDBLTFAST_SRCCOLORKEY. Both rectangles must lie inside their
    // surfaces (DDERR_INVALIDRECT); source and destination formats must match
    // (DDERR_INVALIDPARAMS). Neither surface may be the primary surface.
    Result BltFast(int x, int y, Surface* source, const Rect* srcRect, std::uint32_t flags);
    // Copies srcRect of source into dstRect (whole surfaces when null), scaling by nearest
    // pixel; with DDBLT_KEYSRC the source's colour key is honoured. A clipper with a clip list
    // attached to this surface restricts the writing; otherwise dstRect must lie inside the
    // surface. On the primary surface the copy goes to the screen sink.
    Result Blt(const Rect* dstRect, Surface* source, const Rect* srcRect, std::uint32_t flags);

    // Sets (key non-null) or removes the source colour key; flags must hold DDCKEY_SRCBLT.
    Result SetColorKey(std::uint32_t flags, const ColorKey* key);
    // DDERR_NOCOLORKEY when no key is set.
    Result GetColorKey(std::uint32_t flags, ColorKey& key);

    // A drawing context on the surface; one at a time (DDERR_DCALREADYCREATED).
    Result GetDC(SurfaceDc*& dc);
    Result ReleaseDC(SurfaceDc* dc);
    Result Restore();

    // Attaches (or, with null, detaches) a clipper.
    Result SetClipper(std::shared_ptr<Clipper> clipper);

    // Batching. While a surface batches, a BltFast onto it from another surface of the same
    // display (or a move within it that keeps its columns) makes all its checks and returns
    // its result at once, but only queues the pixel work. The queue runs in column blocks
    // small enough to stay in the processor's cache, each block taking the queued copies in
    // their order, which gives the pixels of running them one by one. It runs before
    // anything can see or change the pixels involved: every other operation on any surface
    // of the display (Lock, GetDC, Blt, any other BltFast, SetColorKey, View, BeginBatch,
    // destruction) and EndBatch. Pixels must therefore not be read or written through a
    // pointer kept from an earlier Lock or View while copies are queued. DDERR_UNSUPPORTED
    // on the primary surface.
    //
    // A Blt out of a batching surface into a surface of the same display that neither
    // batches, has a clipper, awaits such a Blt already nor is read by a queued copy, waits
    // in the same queue: each column block then scales the part it holds, in queue order with
    // the copies, and the destination's pixels are written before anything can see them. So
    // do the edits of LockRows; the blocks that such edits reach are taken together.
    Result BeginBatch();
    void EndBatch();
    bool IsBatching() const { return batching_; }
    // For a caller that reads only some rows of a batching surface: the copies and row edits
    // queued on it from now on write only the rows y with rows[y] != 0 (rows holds one entry
    // per row; empty lifts the limit). The other rows keep what they held until written
    // otherwise, which need not be what the work would have made of them. EndBatch lifts
    // the limit.
    void LimitQueuedRows(std::vector<std::uint8_t> rows);

    // Direct access for the renderer and textures; never fails.
    bool IsPrimary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }
    std::uint32_t Caps() const { return caps_; }
    int Width() const { return view_.width; }
    int Height() const { return view_.height; }
    const PixelFormat& Format() const { return format_; }
    // Writes a new surface's zeros and runs the display's queued copies first.
    const PixelView& View() const {
        Zeroed();
        if (display_->pendingCopies != 0) {
            FlushPendingCopies(*display_);
        }
        return view_;
    }
    bool IsLocked() const { return locked_; }
    const std::optional<ColorKey>& SourceKey() const { return sourceKey_; }
    const std::shared_ptr<Clipper>& AttachedClipper() const { return clipper_; }

private:
    friend class DirectDraw;
    friend void FlushPendingCopies(DisplayState& display);

    Result Allocate();
    Result Busy() const;
    // The checks every copy makes of its surfaces and source rectangle (the whole source
    // when srcRect is null, which src receives): neither surface busy, the same pixel size,
    // the rectangle inside the source.
    Result CheckSource(const Surface& source, const Rect* srcRect, Rect& src) const;
    void Zeroed() const {
        if (unzeroed_) {
            ZeroNow();
        }
    }
    void ZeroNow() const;
    void Settle() {
        if (display_->pendingCopies != 0) {
            FlushPendingCopies(*display_);
        }
    }
    // Runs this surface's queue (the display's count of queued work goes down with it).
    void RunPending();
    // The checks and state change a lock makes (Lock, LockRows); settle runs the queues first.
    Result BeginLock(bool settle);
    // Runs the display's queues when they hold maxQueuedWork; called before work is queued.
    void MakeRoomInQueue() {
        if (display_->pendingCopies >= display_->maxQueuedWork) {
            FlushPendingCopies(*display_);
        }
    }
    // Whether a queued copy reads this surface, or a queued Blt writes it.
    bool ReadByQueue() const {
        return display_->pendingCopies != 0 && readByRun_ == display_->queueRuns;
    }
    bool WrittenByQueue() const {
        return display_->pendingCopies != 0 && writtenByRun_ == display_->queueRuns;
    }

    std::shared_ptr<DisplayState> display_;
    std::uint32_t caps_;
    PixelFormat format_;
    struct FreeStorage {
        void operator()(std::uint32_t* words) const;
    };
    std::unique_ptr<std::uint32_t[], FreeStorage> storage_;
    PixelView view_;
    bool locked_ = false;
    std::optional<SurfaceDc> dc_;
    std::optional<ColorKey> sourceKey_;
    std::shared_ptr<Clipper> clipper_;
    mutable bool unzeroed_ = false;  // the pixels are still to be set to zero
    bool batching_ = false;
    // The work waiting while this surface batches: copies and edits of its pixels, and
    // scaled copies out of it.
    BatchQueue queue_;
    // The run of the queues (DisplayState::queueRuns) in which a queued copy last read this
    // surface, or a queued Blt last wrote it.
    std::uint64_t readByRun_ = UINT64_MAX;
    std::uint64_t writtenByRun_ = UINT64_MAX;
};

class Direct3D;

// Makes surfaces and clippers in the display's format.
class DirectDraw {
public:
    explicit DirectDraw(std::shared_ptr<DisplayState> display);

    Result QueryInterface(Iid iid);
    Result SetCooperativeLevel(std::uintptr_t window, std::uint32_t flags);
    Result CreateSurface(const SurfaceDesc& desc, std::shared_ptr<Surface>& surface);
    Result CreateClipper(std::shared_ptr<Clipper>& clipper);
    // The Direct3D interface of this object (a QueryInterface call).
    Result QueryDirect3D(std::shared_ptr<Direct3D>& direct3d);

    // Where primary-surface blits go; none by default (they are then dropped).
    void SetScreen(std::shared_ptr<ScreenSink> screen) { display_->screen = std::move(screen); }
    const PixelFormat& DisplayFormat() const { return display_->format; }
    const std::shared_ptr<DisplayState>& Display() const { return display_; }

private:
    std::shared_ptr<DisplayState> display_;
    std::uint32_t cooperativeLevel_ = 0;
};

// The display a DirectDraw object works with: its size (the primary surface's size) and
// pixel format.
struct DisplayMode {
    int width = 1024;
    int height = 768;
    PixelFormat format = PixelFormat::Xrgb8888();
};

// Makes the DirectDraw object of a display; faults may be null. DDERR_INVALIDPARAMS for a
// display format of other than 2, 3 or 4 bytes per pixel or a size below 1.
Result DirectDrawCreate(const DisplayMode& mode, std::shared_ptr<FaultPlan> faults,
                        std::shared_ptr<DirectDraw>& directDraw);

}  // namespace gfx
