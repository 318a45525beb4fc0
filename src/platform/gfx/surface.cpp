#include "platform/gfx/surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/gfx/direct3d.h"

namespace gfx {

namespace {

constexpr int kMaxSide = 16384;
constexpr std::int64_t kMaxBytes = std::int64_t{1} << 28;

Rect Whole(const Surface& surface) {
    return Rect{0, 0, surface.Width(), surface.Height()};
}

}  // namespace

MemoryScreen::MemoryScreen(int width, int height, const PixelFormat& format)
    : bpp_(format.BytesPerPixel()) {
    view_.width = width;
    view_.height = height;
    view_.bytesPerPixel = bpp_;
    view_.pitch = (width * bpp_ + 3) & ~3;
    pixels_.assign(static_cast<std::size_t>(view_.pitch) * height, 0);
    view_.bits = pixels_.data();
}

void MemoryScreen::Present(const Surface& source, const Rect& sourceRect, const Rect& destination,
                           std::span<const Rect> clip) {
    ++presentCount_;
    if (source.Format().BytesPerPixel() != bpp_) {
        return;
    }
    const bool unscaled =
        destination.Width() == sourceRect.Width() && destination.Height() == sourceRect.Height();
    for (const Rect& rect : clip) {
        if (unscaled) {
            const Rect part =
                Intersect(Intersect(rect, destination), Rect{0, 0, view_.width, view_.height});
            if (part.Empty()) {
                continue;
            }
            const Rect from{sourceRect.left + part.left - destination.left,
                            sourceRect.top + part.top - destination.top,
                            sourceRect.left + part.right - destination.left,
                            sourceRect.top + part.bottom - destination.top};
            CopyPixels(view_, part.left, part.top, source.View(), from);
        } else {
            ScalePixels(view_, destination, source.View(), sourceRect, rect);
        }
    }
}

Clipper::Clipper(std::shared_ptr<DisplayState> display) : display_(std::move(display)) {}

Result Clipper::SetClipList(std::span<const Rect> rects) {
    if (Result r = Check(display_->faults.get(), Op::SetClipList); r != DD_OK) {
        return r;
    }
    if (rects.empty()) {
        return DDERR_INVALIDCLIPLIST;
    }
    for (const Rect& rect : rects) {
        if (rect.Empty()) {
            return DDERR_INVALIDCLIPLIST;
        }
    }
    rects_.assign(rects.begin(), rects.end());
    hasList_ = true;
    return DD_OK;
}

Result Clipper::GetClipList(std::vector<Rect>& rects) const {
    if (Result r = Check(display_->faults.get(), Op::GetClipList); r != DD_OK) {
        return r;
    }
    if (!hasList_) {
        return DDERR_NOCLIPLIST;
    }
    rects = rects_;
    return DD_OK;
}

Result Clipper::SetHWnd(std::uintptr_t window) {
    if (Result r = Check(display_->faults.get(), Op::SetHWnd); r != DD_OK) {
        return r;
    }
    if (window == 0) {
        return DDERR_INVALIDPARAMS;
    }
    window_ = window;
    return DD_OK;
}

void SurfaceDc::SetPixel(int x, int y, Rgb colour) {
    if (surface_.IsPrimary() || x < 0 || y < 0 || x >= surface_.Width() || y >= surface_.Height()) {
        return;
    }
    const PixelView& view = surface_.View();
    StorePixel(view.At(x, y), view.bytesPerPixel,
               PixelFromRgb(surface_.Format(), colour.red, colour.green, colour.blue));
}

Rgb SurfaceDc::GetPixel(int x, int y) const {
    if (surface_.IsPrimary() || x < 0 || y < 0 || x >= surface_.Width() || y >= surface_.Height()) {
        return Rgb{};
    }
    const PixelView& view = surface_.View();
    return RgbFromPixel(surface_.Format(), LoadPixel(view.At(x, y), view.bytesPerPixel));
}

void SurfaceDc::DrawRgb(int x, int y, int width, int height, const std::uint8_t* rgb, int stride) {
    if (rgb == nullptr || surface_.IsPrimary()) {
        return;
    }
    const Rect area = Intersect(Rect{x, y, x + width, y + height}, Whole(surface_));
    const PixelView& view = surface_.View();
    for (int row = area.top; row < area.bottom; ++row) {
        const std::uint8_t* s =
            rgb + static_cast<std::ptrdiff_t>(row - y) * stride + (area.left - x) * 3;
        std::uint8_t* d = view.At(area.left, row);
        for (int col = area.left; col < area.right; ++col, s += 3, d += view.bytesPerPixel) {
            StorePixel(d, view.bytesPerPixel, PixelFromRgb(surface_.Format(), s[0], s[1], s[2]));
        }
    }
}

Surface::Surface(std::shared_ptr<DisplayState> display, std::uint32_t caps, int width, int height,
                 const PixelFormat& format)
    : display_(std::move(display)), caps_(caps), format_(format) {
    view_.width = width;
    view_.height = height;
    view_.bytesPerPixel = format.BytesPerPixel();
}

Result Surface::Allocate() {
    if (IsPrimary()) {
        return DD_OK;
    }
    // Rows start on 4-byte boundaries so that 2- and 4-byte pixels are aligned.
    view_.pitch = (view_.width * view_.bytesPerPixel + 3) & ~3;
    const std::size_t words = static_cast<std::size_t>(view_.pitch / 4) * view_.height;
    storage_.reset(static_cast<std::uint32_t*>(std::malloc(words * sizeof(std::uint32_t))));
    if (!storage_) {
        return DDERR_OUTOFMEMORY;
    }
    view_.bits = reinterpret_cast<std::uint8_t*>(storage_.get());
    // A new surface is black. The zeros are written when its pixels are first used, unless
    // that use overwrites every byte anyway (see Blt).
    unzeroed_ = true;
    return DD_OK;
}

void Surface::ZeroNow() const {
    std::memset(view_.bits, 0, static_cast<std::size_t>(view_.pitch) * view_.height);
    unzeroed_ = false;
}

void Surface::FreeStorage::operator()(std::uint32_t* words) const {
    std::free(words);
}

Surface::~Surface() {
    // Queued work may read or write this surface's pixels.
    Settle();
    if (batching_) {
        std::erase(display_->batching, this);
    }
}

Result Surface::BeginBatch() {
    if (IsPrimary()) {
        return DDERR_UNSUPPORTED;
    }
    Zeroed();
    // Copies already queued elsewhere may read this surface's pixels as they are now.
    Settle();
    if (!batching_) {
        batching_ = true;
        display_->batching.push_back(this);
    }
    return DD_OK;
}

void Surface::EndBatch() {
    Settle();
    queue_.DropLimits();
    if (batching_) {
        batching_ = false;
        std::erase(display_->batching, this);
    }
}

void Surface::LimitQueuedRows(std::vector<std::uint8_t> rows) {
    queue_.LimitRows(std::move(rows), view_.height);
}

void Surface::RunPending() {
    if (queue_.Empty()) {
        return;
    }
    display_->pendingCopies -= queue_.Size();
    queue_.Run(view_, display_->batchBlockBytes);
}

void FlushPendingCopies(DisplayState& display) {
    for (Surface* surface : display.batching) {
        surface->RunPending();
    }
    ++display.queueRuns;
}

Result Surface::Busy() const {
    return locked_ || dc_ ? DDERR_SURFACEBUSY : DD_OK;
}

Result Surface::QueryInterface(Iid iid) {
    if (Result r = Check(display_->faults.get(), Op::QueryInterface); r != DD_OK) {
        return r;
    }
    return iid == Iid::DirectDrawSurface || iid == Iid::DirectDrawSurface3 ? DD_OK : E_NOINTERFACE;
}

Result Surface::BeginLock(bool settle) {
    if (Result r = Check(display_->faults.get(), Op::Lock); r != DD_OK) {
        return r;
    }
    if (settle) {
        Settle();
    }
    Zeroed();
    if (IsPrimary()) {
        return DDERR_UNSUPPORTED;
    }
    if (Result r = Busy(); r != DD_OK) {
        return r;
    }
    locked_ = true;
    return DD_OK;
}

Result Surface::Lock(SurfaceDesc& desc, std::uint32_t /*flags*/) {
    if (Result r = BeginLock(true); r != DD_OK) {
        return r;
    }
    desc.caps = caps_;
    desc.width = view_.width;
    desc.height = view_.height;
    desc.pitch = view_.pitch;
    desc.pixelFormat = format_;
    desc.bits = view_.bits;
    return DD_OK;
}

Result Surface::LockRows(int top, int bottom, std::span<const ColumnRange> columns, RowEdit edit) {
    // A batching surface keeps its queue: the edits join it.
    if (Result r = BeginLock(!batching_); r != DD_OK) {
        return r;
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, view_.height);
    if (top >= bottom || !edit) {
        return DD_OK;
    }
    if (batching_) {
        MakeRoomInQueue();
        queue_.AddEdit(top, bottom, columns, std::move(edit));
        ++display_->pendingCopies;
        return DD_OK;
    }
    for (int y = top; y < bottom; ++y) {
        edit(view_.Row(y));
    }
    return DD_OK;
}

Result Surface::Unlock() {
    if (Result r = Check(display_->faults.get(), Op::Unlock); r != DD_OK) {
        return r;
    }
    if (!locked_) {
        return DDERR_NOTLOCKED;
    }
    locked_ = false;
    return DD_OK;
}

Result Surface::GetPixelFormat(PixelFormat& format) {
    if (Result r = Check(display_->faults.get(), Op::GetPixelFormat); r != DD_OK) {
        return r;
    }
    format = format_;
    return DD_OK;
}

Result Surface::GetSurfaceDesc(SurfaceDesc& desc) {
    if (Result r = Check(display_->faults.get(), Op::GetSurfaceDesc); r != DD_OK) {
        return r;
    }
    desc.caps = caps_;
    desc.width = view_.width;
    desc.height = view_.height;
    desc.pitch = view_.pitch;
    desc.pixelFormat = format_;
    desc.bits = nullptr;
    return DD_OK;
}

Result Surface::CheckSource(const Surface& source, const Rect* srcRect, Rect& src) const {
    if (Result r = Busy(); r != DD_OK) {
        return r;
    }
    if (Result r = source.Busy(); r != DD_OK) {
        return r;
    }
    if (source.format_.BytesPerPixel() != format_.BytesPerPixel()) {
        return DDERR_INVALIDPARAMS;
    }
    src = srcRect != nullptr ? *srcRect : Whole(source);
    if (src.Empty() || !Contains(Whole(source), src)) {
        return DDERR_INVALIDRECT;
    }
    return DD_OK;
}

Result Surface::BltFast(int x, int y, Surface* source, const Rect* srcRect, std::uint32_t flags) {
    if (Result r = Check(display_->faults.get(), Op::BltFast); r != DD_OK) {
        return r;
    }
    if (source == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    if (IsPrimary() || source->IsPrimary()) {
        return DDERR_UNSUPPORTED;
    }
    Rect src;
    if (Result r = CheckSource(*source, srcRect, src); r != DD_OK) {
        return r;
    }
    const std::int64_t right = std::int64_t{x} + src.Width();
    const std::int64_t bottom = std::int64_t{y} + src.Height();
    if (x < 0 || y < 0 || right > view_.width || bottom > view_.height) {
        return DDERR_INVALIDRECT;
    }
    const bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) != 0 && source->sourceKey_;
    Zeroed();
    source->Zeroed();
    // A copy from another surface may wait while that surface does not batch itself and no
    // queued Blt writes it (then nothing queued changes it); a copy within this surface only
    // if it keeps its columns, so that every column block holds all it reads.
    const bool deferrable =
        batching_ && (source == this ? src.left == x
                                     : !source->batching_ && source->display_ == display_ &&
                                           !source->WrittenByQueue());
    if (deferrable) {
        MakeRoomInQueue();
        queue_.AddCopy(source->view_, src, x, y, keyed ? &source->sourceKey_->low : nullptr);
        ++display_->pendingCopies;
        source->readByRun_ = display_->queueRuns;
        return DD_OK;
    }
    Settle();
    if (keyed) {
        CopyPixelsKeyed(view_, x, y, source->view_, src, source->sourceKey_->low);
    } else {
        // A keyed copy from a surface without a key is a plain copy.
        CopyPixels(view_, x, y, source->view_, src);
    }
    return DD_OK;
}

Result Surface::Blt(const Rect* dstRect, Surface* source, const Rect* srcRect,
                    std::uint32_t flags) {
    if (Result r = Check(display_->faults.get(), Op::Blt); r != DD_OK) {
        return r;
    }
    if (source == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    if (source->IsPrimary()) {
        return DDERR_UNSUPPORTED;
    }
    Rect src;
    if (Result r = CheckSource(*source, srcRect, src); r != DD_OK) {
        return r;
    }
    const Rect bounds = IsPrimary() ? Rect{0, 0, display_->width, display_->height} : Whole(*this);
    const Rect dst = dstRect != nullptr ? *dstRect : bounds;
    if (dst.Empty()) {
        return DDERR_INVALIDRECT;
    }
    // The parts of the destination that may be written.
    std::vector<Rect> clip;
    if (clipper_ && clipper_->HasClipList()) {
        for (const Rect& rect : clipper_->ClipList()) {
            const Rect part = Intersect(Intersect(rect, dst), bounds);
            if (!part.Empty()) {
                clip.push_back(part);
            }
        }
    } else if (clipper_) {
        const Rect part = Intersect(dst, bounds);
        if (!part.Empty()) {
            clip.push_back(part);
        }
    } else {
        if (!Contains(bounds, dst)) {
            return DDERR_INVALIDRECT;
        }
        clip.push_back(dst);
    }
    const std::uint32_t* key = nullptr;
    std::uint32_t keyValue = 0;
    if ((flags & DDBLT_KEYSRC) != 0 && source->sourceKey_) {
        keyValue = source->sourceKey_->low;
        key = &keyValue;
    }
    source->Zeroed();
    // A copy that writes every byte of this surface needs no zeros first; rows with unused
    // bytes at their ends do not qualify.
    const bool whole = !clipper_ && key == nullptr && source != this && dst == bounds &&
                       view_.pitch == view_.width * view_.bytesPerPixel;
    if (whole) {
        unzeroed_ = false;
    }
    Zeroed();
    // A scaled copy out of a batching surface waits in its queue when nothing queued reads
    // or writes this surface: each column block then writes its own destination columns.
    if (source->batching_ && source != this && source->display_ == display_ && !IsPrimary() &&
        !batching_ && !clipper_ && !ReadByQueue() && !WrittenByQueue()) {
        MakeRoomInQueue();
        source->queue_.AddScale(view_, dst, src, key);
        ++display_->pendingCopies;
        writtenByRun_ = display_->queueRuns;
        return DD_OK;
    }
    Settle();
    if (IsPrimary()) {
        if (display_->screen && !clip.empty()) {
            display_->screen->Present(*source, src, dst, clip);
        }
        return DD_OK;
    }
    PixelView from = source->view_;
    Rect fromRect = src;
    std::vector<std::uint8_t> copy;
    if (source == this && !Intersect(src, dst).Empty()) {
        // Scaling reads and writes at once; take the source aside first.
        const int rowBytes = src.Width() * view_.bytesPerPixel;
        copy.resize(static_cast<std::size_t>(rowBytes) * src.Height());
        for (int row = 0; row < src.Height(); ++row) {
            std::memcpy(copy.data() + static_cast<std::size_t>(row) * rowBytes,
                        view_.At(src.left, src.top + row), static_cast<std::size_t>(rowBytes));
        }
        from = PixelView{copy.data(), src.Width(), src.Height(), rowBytes, view_.bytesPerPixel};
        fromRect = Rect{0, 0, src.Width(), src.Height()};
    }
    for (const Rect& part : clip) {
        if (dst.Width() == fromRect.Width() && dst.Height() == fromRect.Height() &&
            key == nullptr) {
            const Rect piece{
                fromRect.left + part.left - dst.left, fromRect.top + part.top - dst.top,
                fromRect.left + part.right - dst.left, fromRect.top + part.bottom - dst.top};
            CopyPixels(view_, part.left, part.top, from, piece);
        } else {
            ScalePixels(view_, dst, from, fromRect, part, key);
        }
    }
    return DD_OK;
}

Result Surface::SetColorKey(std::uint32_t flags, const ColorKey* key) {
    if (Result r = Check(display_->faults.get(), Op::SetColorKey); r != DD_OK) {
        return r;
    }
    Settle();
    if ((flags & DDCKEY_SRCBLT) == 0) {
        return DDERR_INVALIDPARAMS;
    }
    if (key == nullptr) {
        sourceKey_.reset();
    } else {
        sourceKey_ = *key;
    }
    return DD_OK;
}

Result Surface::GetColorKey(std::uint32_t flags, ColorKey& key) {
    if (Result r = Check(display_->faults.get(), Op::GetColorKey); r != DD_OK) {
        return r;
    }
    if ((flags & DDCKEY_SRCBLT) == 0) {
        return DDERR_INVALIDPARAMS;
    }
    if (!sourceKey_) {
        return DDERR_NOCOLORKEY;
    }
    key = *sourceKey_;
    return DD_OK;
}

Result Surface::GetDC(SurfaceDc*& dc) {
    if (Result r = Check(display_->faults.get(), Op::GetDC); r != DD_OK) {
        return r;
    }
    Settle();
    Zeroed();
    if (dc_) {
        return DDERR_DCALREADYCREATED;
    }
    if (locked_) {
        return DDERR_SURFACEBUSY;
    }
    dc_.emplace(*this);
    dc = &*dc_;
    return DD_OK;
}

Result Surface::ReleaseDC(SurfaceDc* dc) {
    if (Result r = Check(display_->faults.get(), Op::ReleaseDC); r != DD_OK) {
        return r;
    }
    if (!dc_ || dc != &*dc_) {
        return DDERR_INVALIDPARAMS;
    }
    dc_.reset();
    return DD_OK;
}

Result Surface::Restore() {
    return Check(display_->faults.get(), Op::Restore);
}

Result Surface::SetClipper(std::shared_ptr<Clipper> clipper) {
    if (Result r = Check(display_->faults.get(), Op::SetClipper); r != DD_OK) {
        return r;
    }
    clipper_ = std::move(clipper);
    return DD_OK;
}

DirectDraw::DirectDraw(std::shared_ptr<DisplayState> display) : display_(std::move(display)) {}

Result DirectDraw::QueryInterface(Iid iid) {
    if (Result r = Check(display_->faults.get(), Op::QueryInterface); r != DD_OK) {
        return r;
    }
    switch (iid) {
        case Iid::DirectDraw:
        case Iid::DirectDraw2:
        case Iid::Direct3D:
        case Iid::Direct3D2:
            return DD_OK;
        default:
            return E_NOINTERFACE;
    }
}

Result DirectDraw::SetCooperativeLevel(std::uintptr_t /*window*/, std::uint32_t flags) {
    if (Result r = Check(display_->faults.get(), Op::SetCooperativeLevel); r != DD_OK) {
        return r;
    }
    if (flags == 0) {
        return DDERR_INVALIDPARAMS;
    }
    cooperativeLevel_ = flags;
    return DD_OK;
}

Result DirectDraw::CreateSurface(const SurfaceDesc& desc, std::shared_ptr<Surface>& surface) {
    if (Result r = Check(display_->faults.get(), Op::CreateSurface); r != DD_OK) {
        return r;
    }
    if ((desc.caps & DDSCAPS_PRIMARYSURFACE) != 0) {
        surface = std::make_shared<Surface>(display_, desc.caps, display_->width, display_->height,
                                            display_->format);
        return DD_OK;
    }
    const PixelFormat format = desc.pixelFormat.value_or(display_->format);
    if (!IsSupportedFormat(format)) {
        return DDERR_INVALIDPARAMS;
    }
    if (desc.width < 1 || desc.height < 1 || desc.width > kMaxSide || desc.height > kMaxSide) {
        return DDERR_INVALIDPARAMS;
    }
    if (std::int64_t{desc.width} * desc.height * format.BytesPerPixel() > kMaxBytes) {
        return DDERR_OUTOFMEMORY;
    }
    auto made = std::make_shared<Surface>(display_, desc.caps, desc.width, desc.height, format);
    if (Result r = made->Allocate(); r != DD_OK) {
        return r;
    }
    surface = std::move(made);
    return DD_OK;
}

Result DirectDraw::CreateClipper(std::shared_ptr<Clipper>& clipper) {
    if (Result r = Check(display_->faults.get(), Op::CreateClipper); r != DD_OK) {
        return r;
    }
    clipper = std::make_shared<Clipper>(display_);
    return DD_OK;
}

Result DirectDraw::QueryDirect3D(std::shared_ptr<Direct3D>& direct3d) {
    if (Result r = QueryInterface(Iid::Direct3D); r != DD_OK) {
        return r;
    }
    direct3d = std::make_shared<Direct3D>(display_);
    return DD_OK;
}

Result DirectDrawCreate(const DisplayMode& mode, std::shared_ptr<FaultPlan> faults,
                        std::shared_ptr<DirectDraw>& directDraw) {
    if (Result r = Check(faults.get(), Op::DirectDrawCreate); r != DD_OK) {
        return r;
    }
    if (!IsSupportedFormat(mode.format) || mode.width < 1 || mode.height < 1 ||
        mode.width > kMaxSide || mode.height > kMaxSide) {
        return DDERR_INVALIDPARAMS;
    }
    auto display = std::make_shared<DisplayState>();
    display->width = mode.width;
    display->height = mode.height;
    display->format = mode.format;
    display->faults = std::move(faults);
    directDraw = std::make_shared<DirectDraw>(std::move(display));
    return DD_OK;
}

}  // namespace gfx
