#include "platform/gfx/batch_queue.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <system_error>
#include <thread>
#include <utility>

namespace gfx {

namespace {

// Narrower column blocks only add per-copy overhead.
constexpr int kMinBlockWidth = 16;
// Queues at least this long, or whose scaled copies write at least this many pixels, are
// run by two threads.
constexpr std::size_t kParallelCopies = 2048;
constexpr std::int64_t kParallelScaledPixels = 65536;

}  // namespace

void BatchQueue::AddCopy(const PixelView& from, const Rect& source, int x, int y,
                         const std::uint32_t* key) {
    Piece piece{};
    piece.from = &from;
    piece.source = source;
    piece.x = x;
    piece.y = y;
    piece.work = key != nullptr ? Work::KeyedCopy : Work::Copy;
    piece.key = key != nullptr ? *key : 0;
    piece.rows = limit_;
    pending_.push_back(piece);
}

void BatchQueue::AddScale(const PixelView& to, const Rect& target, const Rect& source,
                          const std::uint32_t* key) {
    assert(std::none_of(scales_.begin(), scales_.end(),
                        [&to](const QueuedScale& queued) { return queued.to.bits == to.bits; }));
    Piece piece{};
    piece.source = source;
    piece.work = Work::Scale;
    piece.keyed = key != nullptr;
    piece.key = key != nullptr ? *key : 0;
    piece.index = static_cast<std::uint32_t>(scales_.size());
    // It writes another surface, whose rows the limit does not concern.
    piece.rows = nullptr;
    scales_.push_back(QueuedScale{to, target});
    pending_.push_back(piece);
}

void BatchQueue::AddEdit(int top, int bottom, std::span<const ColumnRange> columns, RowEdit edit) {
    Piece piece{};
    // Only the rows count for an edit: its columns are its ranges.
    piece.source = Rect{0, top, 0, bottom};
    piece.work = Work::Edit;
    piece.index = static_cast<std::uint32_t>(edits_.size());
    piece.rows = limit_;
    edits_.push_back(QueuedEdit{std::move(edit), {columns.begin(), columns.end()}});
    pending_.push_back(piece);
}

void BatchQueue::LimitRows(std::vector<std::uint8_t> rows, int height) {
    if (rows.empty()) {
        limit_ = nullptr;
        return;
    }
    rows.resize(static_cast<std::size_t>(height), 0);
    limits_.push_back(std::make_unique<std::vector<std::uint8_t>>(std::move(rows)));
    limit_ = limits_.back()->data();
}

void BatchQueue::DropLimits() {
    assert(pending_.empty());
    limit_ = nullptr;
    limits_.clear();
}

Rect BatchQueue::SpanOf(const Piece& piece, int width) const {
    switch (piece.work) {
        case Work::Scale:
            return piece.source;
        case Work::Edit: {
            const std::vector<ColumnRange>& columns = edits_[piece.index].columns;
            Rect span{width, piece.source.top, 0, piece.source.bottom};
            for (const ColumnRange& range : columns) {
                span.left = std::min(span.left, range.left);
                span.right = std::max(span.right, range.right);
            }
            return span;
        }
        default:
            return Rect{piece.x, piece.y, piece.x + piece.source.Width(),
                        piece.y + piece.source.Height()};
    }
}

void BatchQueue::RunPart(const PixelView& pixels, const Piece& piece, int left, int right) const {
    switch (piece.work) {
        case Work::Scale: {
            // The destination columns whose source columns lie in [left, right).
            const QueuedScale& scale = scales_[piece.index];
            const int from = FirstScaledColumn(scale.target, piece.source, left);
            const int to = FirstScaledColumn(scale.target, piece.source, right);
            if (from < to) {
                const Rect part{from, scale.target.top, to, scale.target.bottom};
                ScalePixels(scale.to, scale.target, pixels, piece.source, part,
                            piece.keyed ? &piece.key : nullptr);
            }
            return;
        }
        case Work::Edit: {
            const RowEdit& edit = edits_[piece.index].edit;
            for (int y = piece.source.top; y < piece.source.bottom; ++y) {
                if (piece.rows == nullptr || piece.rows[y] != 0) {
                    edit(pixels.Row(y));
                }
            }
            return;
        }
        default: {
            const int from = std::max(piece.x, left);
            const int to = std::min(piece.x + piece.source.Width(), right);
            if (from >= to) {
                return;
            }
            const Rect part{piece.source.left + from - piece.x, piece.source.top,
                            piece.source.left + to - piece.x, piece.source.bottom};
            if (piece.work == Work::KeyedCopy) {
                CopyPixelsKeyed(pixels, from, piece.y, *piece.from, part, piece.key, piece.rows);
            } else {
                CopyPixels(pixels, from, piece.y, *piece.from, part, piece.rows);
            }
            return;
        }
    }
}

void BatchQueue::Run(const PixelView& pixels, int blockBytes) {
    if (pending_.empty()) {
        return;
    }
    const int width = pixels.width;
    const int bpp = pixels.bytesPerPixel;
    int top = INT_MAX;
    int bottom = 0;
    std::int64_t scaledPixels = 0;
    bool unlimited = false;
    std::vector<const std::uint8_t*> limits;
    for (const Piece& piece : pending_) {
        const Rect span = SpanOf(piece, width);
        top = std::min(top, span.top);
        bottom = std::max(bottom, span.bottom);
        if (piece.work == Work::Scale) {
            const Rect& target = scales_[piece.index].target;
            scaledPixels += std::int64_t{target.Width()} * target.Height();
            unlimited = true;  // reads every row of its source
        } else if (piece.rows == nullptr) {
            unlimited = true;
        } else if (std::find(limits.begin(), limits.end(), piece.rows) == limits.end()) {
            limits.push_back(piece.rows);
        }
    }
    // Only the rows the work writes or reads take room in the cache.
    int rowsUsed = bottom - top;
    if (!unlimited) {
        rowsUsed = 0;
        for (int y = top; y < bottom; ++y) {
            rowsUsed += std::any_of(limits.begin(), limits.end(),
                                    [y](const std::uint8_t* rows) { return rows[y] != 0; })
                            ? 1
                            : 0;
        }
    }
    const int columnBytes = std::max(1, rowsUsed * bpp);
    const int blockWidth = std::min(width, std::max(kMinBlockWidth, blockBytes / columnBytes));
    const int blocks = (width + blockWidth - 1) / blockWidth;

    // The blocks each piece of work meets: those of its columns, or of an edit's ranges.
    const auto forBlocks = [&](const Piece& piece, const auto& visit) {
        const auto visitRange = [&](int left, int right) {
            left = std::max(left, 0);
            right = std::min(right, width);
            if (left < right) {
                for (int b = left / blockWidth; b <= (right - 1) / blockWidth; ++b) {
                    visit(b);
                }
            }
        };
        if (piece.work == Work::Edit) {
            for (const ColumnRange& range : edits_[piece.index].columns) {
                visitRange(range.left, range.right);
            }
        } else {
            const Rect span = SpanOf(piece, width);
            visitRange(span.left, span.right);
        }
    };
    // The work that meets each block, in queue order (an edit whose ranges share a block
    // is listed there once).
    std::vector<std::uint32_t> starts(static_cast<std::size_t>(blocks) + 1, 0);
    std::vector<std::int32_t> lastSeen(static_cast<std::size_t>(blocks), -1);
    for (std::uint32_t i = 0; i < pending_.size(); ++i) {
        forBlocks(pending_[i], [&](int b) {
            if (lastSeen[static_cast<std::size_t>(b)] != static_cast<std::int32_t>(i)) {
                lastSeen[static_cast<std::size_t>(b)] = static_cast<std::int32_t>(i);
                ++starts[static_cast<std::size_t>(b) + 1];
            }
        });
    }
    for (int b = 0; b < blocks; ++b) {
        starts[static_cast<std::size_t>(b) + 1] += starts[static_cast<std::size_t>(b)];
    }
    std::vector<std::uint32_t> order(starts.back());
    std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
    std::vector<std::uint8_t> edited(static_cast<std::size_t>(blocks), 0);
    std::fill(lastSeen.begin(), lastSeen.end(), -1);
    for (std::uint32_t i = 0; i < pending_.size(); ++i) {
        forBlocks(pending_[i], [&](int b) {
            if (lastSeen[static_cast<std::size_t>(b)] != static_cast<std::int32_t>(i)) {
                lastSeen[static_cast<std::size_t>(b)] = static_cast<std::int32_t>(i);
                order[next[static_cast<std::size_t>(b)]++] = i;
            }
            if (pending_[i].work == Work::Edit) {
                edited[static_cast<std::size_t>(b)] = 1;
            }
        });
    }

    // Units of work that share no pixel: every block that an edit reaches, together (an edit
    // needs all its columns at once), and each other block alone.
    struct Unit {
        std::vector<int> blocks;
        std::size_t weight = 0;
    };
    std::vector<Unit> units;
    Unit editedBlocks;
    for (int b = 0; b < blocks; ++b) {
        const std::size_t weight =
            starts[static_cast<std::size_t>(b) + 1] - starts[static_cast<std::size_t>(b)];
        if (weight == 0) {
            continue;
        }
        Unit& unit = edited[static_cast<std::size_t>(b)] != 0 ? editedBlocks : units.emplace_back();
        unit.blocks.push_back(b);
        unit.weight += weight;
    }
    if (!editedBlocks.blocks.empty()) {
        units.insert(units.begin(), std::move(editedBlocks));
    }

    const auto runUnit = [&](const Unit& unit) {
        if (unit.blocks.size() == 1) {
            const int b = unit.blocks.front();
            const int left = b * blockWidth;
            const int right = std::min(width, left + blockWidth);
            for (std::uint32_t k = starts[static_cast<std::size_t>(b)];
                 k < starts[static_cast<std::size_t>(b) + 1]; ++k) {
                RunPart(pixels, pending_[order[k]], left, right);
            }
            return;
        }
        // The unit's work in queue order, each piece in all the unit's blocks it meets.
        std::vector<std::uint32_t> work;
        for (const int b : unit.blocks) {
            work.insert(work.end(), order.begin() + starts[static_cast<std::size_t>(b)],
                        order.begin() + starts[static_cast<std::size_t>(b) + 1]);
        }
        std::sort(work.begin(), work.end());
        work.erase(std::unique(work.begin(), work.end()), work.end());
        for (const std::uint32_t i : work) {
            const Piece& piece = pending_[i];
            if (piece.work == Work::Edit) {
                RunPart(pixels, piece, 0, width);
                continue;
            }
            const Rect span = SpanOf(piece, width);
            for (const int b : unit.blocks) {
                const int left = b * blockWidth;
                const int right = std::min(width, left + blockWidth);
                if (span.left < right && span.right > left) {
                    RunPart(pixels, piece, left, right);
                }
            }
        }
    };
    const auto runUnits = [&](std::size_t first, std::size_t end) {
        for (std::size_t u = first; u < end; ++u) {
            runUnit(units[u]);
        }
    };
    // A large queue is split between this thread and a second one, by the amount of work:
    // the work is bound by memory traffic, which a second core adds to.
    std::size_t split = 0;
    std::size_t total = 0;
    for (const Unit& unit : units) {
        total += unit.weight;
    }
    for (std::size_t sum = 0; split < units.size() && 2 * sum < total; ++split) {
        sum += units[split].weight;
    }
    std::thread worker;
    if ((pending_.size() >= kParallelCopies || scaledPixels >= kParallelScaledPixels) &&
        split > 0 && split < units.size()) {
        try {
            worker = std::thread(runUnits, split, units.size());
        } catch (const std::system_error&) {
            // No second thread to be had: this one does all the work.
        }
    }
    if (worker.joinable()) {
        runUnits(0, split);
        worker.join();
    } else {
        runUnits(0, units.size());
    }
    pending_.clear();
    scales_.clear();
    edits_.clear();
    // Only the limit in force is still needed.
    std::erase_if(limits_, [this](const std::unique_ptr<std::vector<std::uint8_t>>& rows) {
        return rows->data() != limit_;
    });
}

}  // namespace gfx
