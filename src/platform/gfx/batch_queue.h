// The pixel work a batching surface holds back (see Surface::BeginBatch), and how it runs:
// in column blocks small enough to stay in the processor's cache, each block taking the work
// in queue order, which gives the pixels of running the work piece by piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "platform/gfx/pixels.h"

namespace gfx {

// Columns [left, right) of a surface.
struct ColumnRange {
    int left = 0;
    int right = 0;
};

// An edit of one row of pixels; receives the row's first byte.
using RowEdit = std::function<void(std::uint8_t* row)>;

// Work queued on one surface, "the surface" below. The queue only keeps the work; the
// surface checks each piece before queuing it and makes sure that nothing reads or changes
// the pixels involved before Run. Every piece keeps the row limit in force when it was
// queued.
class BatchQueue {
public:
    // A copy of source of from (which must outlive the queue's next Run) to (x, y) of the
    // surface; with key non-null, source pixels equal to *key are left out.
    void AddCopy(const PixelView& from, const Rect& source, int x, int y, const std::uint32_t* key);
    // A copy of source of the surface scaled into target of to (nearest pixel), with key
    // as for AddCopy. Writes only to's pixels, which no other scaled copy in the queue may
    // write: the column blocks would write them in block order rather than queue order.
    void AddScale(const PixelView& to, const Rect& target, const Rect& source,
                  const std::uint32_t* key);
    // An edit of rows [top, bottom) of the surface that reads and writes only the given
    // columns of each row.
    void AddEdit(int top, int bottom, std::span<const ColumnRange> columns, RowEdit edit);

    std::size_t Size() const { return pending_.size(); }
    bool Empty() const { return pending_.empty(); }

    // Work queued from now on writes only the rows y with rows[y] != 0 (rows is cut or
    // padded with zeros to height entries); empty rows lifts the limit.
    void LimitRows(std::vector<std::uint8_t> rows, int height);
    // Lifts the limit and forgets the earlier ones; only while the queue is empty.
    void DropLimits();

    // Carries out the queued work on pixels (the surface's), in column blocks of about
    // blockBytes of the rows the work covers; a long queue is shared with a second thread.
    // The queue is empty afterwards.
    void Run(const PixelView& pixels, int blockBytes);

private:
    // One piece of queued work, in the order it was asked for. When it runs, the pixels it
    // reads are still those it was queued with, because every change of them runs the queue
    // first.
    enum class Work : std::uint8_t {
        Copy,       // a copy of source of *from to (x, y)
        KeyedCopy,  // the same with key
        Scale,      // a scaled copy of source into scales_[index]
        Edit,       // the row edit edits_[index] of rows source.top to source.bottom
    };
    struct Piece {
        const PixelView* from = nullptr;
        Rect source;
        int x = 0;
        int y = 0;
        std::uint32_t key = 0;
        Work work = Work::Copy;
        bool keyed = false;  // a Scale with key
        std::uint32_t index = 0;
        const std::uint8_t* rows = nullptr;  // the row limit in force when it was queued
    };
    struct QueuedScale {
        PixelView to;
        Rect target;
    };
    struct QueuedEdit {
        RowEdit edit;
        std::vector<ColumnRange> columns;
    };

    // The columns and rows of the surface (width pixels wide) that a piece writes or reads;
    // for an edit, the columns from its first to its last range.
    Rect SpanOf(const Piece& piece, int width) const;
    // Runs the part of a piece that lies in columns [left, right) of pixels.
    void RunPart(const PixelView& pixels, const Piece& piece, int left, int right) const;

    std::vector<Piece> pending_;
    std::vector<QueuedScale> scales_;
    std::vector<QueuedEdit> edits_;
    // The row limits of the queued work, and the one in force (see LimitRows).
    std::vector<std::unique_ptr<std::vector<std::uint8_t>>> limits_;
    const std::uint8_t* limit_ = nullptr;
};

}  // namespace gfx
