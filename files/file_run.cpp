#include "files/file_run.hpp"

#include <fmt/printf.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "files/log_file.hpp"
#include "files/point_file.hpp"
#include "files/report.hpp"
#include "files/run_context.hpp"
#include "geodesy/grid_selection.hpp"
#include "platform/number_text.hpp"
#include "platform/paths.hpp"
#include "platform/user_interface.hpp"
#include "resources/chain_texts.hpp"
#include "resources/file_texts.hpp"
#include "resources/string_table.hpp"

namespace zelvo {
namespace {

// Bytes of the departure file a worker takes at a time (some 1600 lines of points), and the size
// below which a file is transformed on one thread.
constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr long long kThreadedFileBytes = 256 * 1024;
// The most workers ZELVO_THREADS may ask for: so many per core (at least kMinWorkerCap, so that
// small machines still run what is asked of them in tests), and never more than kMaxWorkers.
constexpr int kMaxWorkersPerCore = 4;
constexpr int kMinWorkerCap = 16;
constexpr int kMaxWorkers = 256;

// The points of the first lines a block wrote to the arrival file and to the report: a file that
// starts in the block takes its header from them, as it would on one thread.
struct FileRunFirstLines {
    std::optional<std::pair<CCoor, CCoor>> arrival, report;
};

// A block of the departure file on its way through a worker, and what it gave. Blocks are used
// again once written: their buffers keep their room.
struct Block {
    std::string text;  // whole lines as they stand in the file
    std::string arrival, report, log;
    int arrivalLines = 0, reportLines = 0;
    std::size_t lineFeeds = 0;
    FileRunFirstLines first;
    FileRunCounts counts;
    bool done = false;
};

class FileRunLoop {
public:
    FileRunLoop(const FileRunSetup& setup, const LineOutput& output)
        : setup_(setup),
          output_(output),
          operation_(setup.context.catalogue, setup.transformationType, setup.departure, setup.arrival) {}

    // The progress of lines read: one step every progressStep line feeds, counting two more reads
    // at the end of the file, as a reader line by line makes.
    void countLines(std::size_t lines) {
        if (setup_.progressStep <= 0) return;
        counter_ += lines;
        for (; counter_ >= static_cast<std::size_t>(setup_.progressStep); counter_ -= setup_.progressStep)
            setup_.context.ui.progressStep();
    }

    FileRunCounts runOnOneThread(GridSelection& grids) {
        OperationCursor cursor(operation_, grids);
        FileRunWorker worker{operation_, cursor, setup_.out, setup_.report, setup_.log};
        // The streams write their headers themselves: the first lines are not needed.
        FileRunFirstLines first;
        std::string block;
        bool interrupted = false;
        while (!interrupted && setup_.in.readBlock(block, kBlockBytes)) {
            countLines(handleBlock(worker, block, first));
            interrupted = setup_.context.ui.cancelRequested();
        }
        if (!interrupted) countLines(2);
        return {worker.succeeded, worker.outside, interrupted};
    }

    FileRunCounts runOnWorkers(GridSelection& grids, int workers) {
        // Every candidate grid's header is read here, once, with the run's user interface; the
        // workers then only load the grids they choose, one at a time.
        readCandidateHeaders(grids);
        // The reading thread is one of the workers: it transforms blocks while it waits for the
        // head of the run.
        Worker own(*this, grids);
        // A thread the system cannot start is done without: the run goes on with those it has.
        std::vector<std::thread> threads;
        for (int i = 1; i < workers; ++i) {
            try {
                threads.emplace_back([this, &grids] { work(grids); });
            } catch (const std::system_error&) {
                break;
            }
        }
        workers = static_cast<int>(threads.size()) + 1;

        // The reading thread only reads bytes and appends what the blocks gave: the workers cut
        // the lines and read them.
        const std::size_t maxInFlight = 2 * static_cast<std::size_t>(workers) + 2;
        for (bool end = false; !end;) {
            std::unique_ptr<Block> block;
            if (spare_.empty()) {
                block = std::make_unique<Block>();
            } else {
                block = std::move(spare_.back());
                spare_.pop_back();
            }
            end = !setup_.in.readBlock(block->text, kBlockBytes);
            if (!end) {
                std::lock_guard lock(mutex_);
                waiting_.push_back(block.get());
                inFlight_.push_back(std::move(block));
                workReady_.notify_one();
            }
            writeFinished(own, end ? 0 : maxInFlight);
            if (!end && setup_.context.ui.cancelRequested()) {
                // Stopped: the blocks read are finished, the rest of the file is left unread.
                counts_.interrupted = end = true;
                writeFinished(own, 0);
            }
        }
        if (!counts_.interrupted) countLines(2);
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        workReady_.notify_all();
        for (auto& thread : threads) thread.join();
        return counts_;
    }

private:
    // What a worker transforms with: its own current grids and pipeline, its streams in memory.
    struct Worker {
        Worker(const FileRunLoop& loop, const GridSelection& shared)
            : geoidGrid(shared.geoidGrid),
              translationGrid(shared.translationGrid),
              grids{shared.catalogue, geoidGrid, translationGrid, nullptr, shared.geoidCandidates,
                    shared.translationCandidates},
              cursor(loop.operation_, grids),
              streams{loop.operation_, cursor, out, loop.setup_.report != nullptr ? &report : nullptr,
                      loop.setup_.log != nullptr ? &log : nullptr} {
            const auto inMemory = [](Out_Fic& stream, const Out_Fic& like) {
                stream.openMemory();
                stream.dataFormat = like.dataFormat;
                stream.annotated = like.annotated;
                stream.clock = like.clock;
            };
            inMemory(out, loop.setup_.out);
            if (loop.setup_.report != nullptr) inMemory(report, *loop.setup_.report);
            if (loop.setup_.log != nullptr) inMemory(log, *loop.setup_.log);
        }
        Worker(const Worker&) = delete;
        Worker& operator=(const Worker&) = delete;

        CGrille1D geoidGrid;
        CGrille3D translationGrid;
        GridSelection grids;
        OperationCursor cursor;
        Out_Fic out, report, log;
        FileRunWorker streams;
    };

    // The lines of a block through a worker; its streams write into the block's buffers.
    void transform(Worker& w, Block& block) const {
        const auto into = [](Out_Fic& stream, std::string& bytes) {
            bytes.clear();
            stream.swapMemory(bytes);
        };
        into(w.out, block.arrival);
        into(w.report, block.report);
        into(w.log, block.log);
        block.first = {};
        block.lineFeeds = handleBlock(w.streams, block.text, block.first);
        w.out.swapMemory(block.arrival);
        w.report.swapMemory(block.report);
        w.log.swapMemory(block.log);
        block.arrivalLines = std::exchange(w.out.linesWritten, 1) - 1;
        block.reportLines = std::exchange(w.report.linesWritten, 1) - 1;
        block.counts = {std::exchange(w.streams.succeeded, 0), std::exchange(w.streams.outside, 0)};
    }

    // A worker thread: takes the blocks no one has taken, until the run is read.
    void work(const GridSelection& shared) {
        Worker w(*this, shared);
        for (;;) {
            Block* block = nullptr;
            {
                std::unique_lock lock(mutex_);
                workReady_.wait(lock, [this] { return !waiting_.empty() || finished_; });
                if (waiting_.empty()) return;
                block = waiting_.front();
                waiting_.pop_front();
            }
            transform(w, *block);
            {
                std::lock_guard lock(mutex_);
                block->done = true;
            }
            blockDone_.notify_one();
        }
    }

    // Appends the finished blocks at the head of the run to the streams, in line order, until at
    // most `keep` blocks remain in flight; meanwhile the reading thread transforms blocks itself.
    void writeFinished(Worker& own, std::size_t keep) {
        std::unique_lock lock(mutex_);
        for (;;) {
            while (!inFlight_.empty() && inFlight_.front()->done) {
                std::unique_ptr<Block> block = std::move(inFlight_.front());
                inFlight_.pop_front();
                lock.unlock();
                write(*block);
                block->done = false;
                spare_.push_back(std::move(block));
                lock.lock();
            }
            if (inFlight_.size() <= keep) return;
            if (!waiting_.empty()) {
                Block* const block = waiting_.front();
                waiting_.pop_front();
                lock.unlock();
                transform(own, *block);
                lock.lock();
                block->done = true;
                continue;
            }
            blockDone_.wait(lock);
        }
    }

    void write(Block& block) {
        countLines(block.lineFeeds);
        if (block.arrivalLines > 0) {
            setup_.out.beginPoints(block.first.arrival->first, block.first.arrival->second,
                                   setup_.transformationType, setup_.withConversion);
            setup_.out.appendBlock(block.arrival, block.arrivalLines);
        }
        if (setup_.report != nullptr && block.reportLines > 0) {
            beginReport(*setup_.report, block.first.report->first, block.first.report->second, setup_.in, setup_.out,
                        setup_.transformationType);
            setup_.report->appendBlock(block.report, block.reportLines);
        }
        if (setup_.log != nullptr) setup_.log->appendBlock(block.log, 0);
        counts_.succeeded += block.counts.succeeded;
        counts_.outside += block.counts.outside;
    }

    // The lines of a block, a few at a time: their points are transformed together, then the
    // lines written one by one, in order, noting the first lines written. Returns the number of
    // line feeds met.
    std::size_t handleBlock(FileRunWorker& w, std::string_view block, FileRunFirstLines& first) const {
        std::array<LineStatus, kFileRunLookAhead> statuses;
        std::array<const CCoor*, kFileRunLookAhead> departures{};
        std::array<CCoor*, kFileRunLookAhead> arrivals{};
        std::array<PointResult, kFileRunLookAhead> results{};
        std::array<const PointResult*, kFileRunLookAhead> resultOf{};
        std::size_t pending = 0;
        const auto handlePending = [&] {
            std::size_t count = 0;
            for (std::size_t i = 0; i < pending; ++i) {
                resultOf[i] = nullptr;
                if (statuses[i] != LineStatus::Point) continue;
                departures[count] = &w.departures[i];
                arrivals[count] = &w.arrivals[i];
                resultOf[i] = &results[count++];
            }
            operation_.transform(w.cursor, std::span(departures).first(count), std::span(arrivals).first(count),
                                 std::span(results).first(count));
            for (std::size_t i = 0; i < pending; ++i) {
                CCoor& d = w.departures[i];
                CCoor& a = w.arrivals[i];
                const int outBefore = w.out.linesWritten;
                const int reportBefore = w.report != nullptr ? w.report->linesWritten : 0;
                writeLine(w, statuses[i], resultOf[i], d, a);
                if (!first.arrival && w.out.linesWritten > outBefore) first.arrival.emplace(d, a);
                if (!first.report && w.report != nullptr && w.report->linesWritten > reportBefore)
                    first.report.emplace(d, a);
            }
            pending = 0;
        };
        const std::size_t lineFeeds = In_Fic::splitLines(block, [&](std::string_view line, bool tooLong) {
            CCoor& d = w.departures[pending];
            d = setup_.departure;
            const LineStatus status = In_Fic::parseLine(line, tooLong, setup_.in.dataFormat, d);
            if (status == LineStatus::Comment || status == LineStatus::BlankLine) return;
            w.arrivals[pending] = setup_.arrival;
            statuses[pending++] = status;
            if (pending == kFileRunLookAhead) handlePending();
        });
        handlePending();
        return lineFeeds;
    }

    // One line: a line that holds no point is written with the reason; a point with its outcome,
    // logged when the chain gave it values.
    void writeLine(FileRunWorker& w, LineStatus readStatus, const PointResult* result, const CCoor& d,
                   const CCoor& a) const {
        const int type = setup_.transformationType;
        const auto write = [&](std::string_view status) {
            w.out.writePoint(d, a, type, status, setup_.withConversion);
            if (w.report != nullptr) writeReportLine(*w.report, d, a, setup_.in, setup_.out, type, status);
        };
        if (result == nullptr) {
            if (output_.countRefusedLines) ++w.outside;
            return write(lineStatusText(readStatus));
        }
        // Transformed points are logged, outside their arrival extents too.
        if (result->finished && result->outcome != Outcome::ChainError && w.log != nullptr)
            writeLogEntry(*w.log, d, a, type);
        if (result->outcome == Outcome::Transformed) ++w.succeeded;
        const std::string_view status = pointStatus(*result, w.chainError, output_.extentTexts);
        if (status != texts::kStatusOk) ++w.outside;
        write(status);
    }

    const FileRunSetup& setup_;
    const LineOutput& output_;
    const Operation operation_;
    std::size_t counter_ = 0;
    FileRunCounts counts_;
    std::mutex mutex_;
    std::condition_variable workReady_, blockDone_;
    std::deque<Block*> waiting_;                    // blocks no worker has taken yet
    std::deque<std::unique_ptr<Block>> inFlight_;  // blocks not yet written, in line order
    std::vector<std::unique_ptr<Block>> spare_;     // blocks written, for the reading thread to fill again
    bool finished_ = false;
};

}  // namespace

std::string_view pointStatus(const PointResult& result, std::string& chainError, ExtentTexts extentTexts) {
    const bool table = extentTexts == ExtentTexts::StringTable;
    switch (result.outcome) {
        case Outcome::Transformed: return texts::kStatusOk;
        case Outcome::OutsideTransformationGrid: return loadString(2233);
        case Outcome::DepartureOutsideProjection: return table ? loadString(2234) : texts::kDepartureOutsideProjection;
        case Outcome::DepartureOutsideSystem: return table ? loadString(2235) : texts::kDepartureOutsideSystem;
        case Outcome::ArrivalOutsideProjection: return table ? loadString(2236) : texts::kArrivalOutsideProjection;
        case Outcome::ArrivalOutsideSystem: return table ? loadString(2237) : texts::kArrivalOutsideSystem;
        case Outcome::ChainError:
            chainError = fmt::sprintf(texts::kChainError, result.chainStatus);
            if (chainError.ends_with('\n')) chainError.pop_back();
            return chainError;
    }
    return texts::kStatusOk;
}

int fileRunWorkers(long long fileBytes) {
    if (fileBytes < kThreadedFileBytes) return 1;
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    if (const auto requested = environmentVariable("ZELVO_THREADS")) {
        // More workers than the machine can run only cost memory: a number past the cap (any
        // number, however long) gives the cap.
        const int cap = std::min(std::max(kMaxWorkersPerCore * cores, kMinWorkerCap), kMaxWorkers);
        const int n = leadingInt(*requested);
        if (n > 0) return std::min(n, cap);
    }
    return cores;
}

FileRunCounts runFileLines(const FileRunSetup& setup, const LineOutput& output) {
    RunContext& context = setup.context;
    GridSelection grids{context.catalogue, context.geoidGrid, context.translationGrid, &context.ui};
    FileRunLoop loop(setup, output);
    const int workers = fileRunWorkers(setup.in.size);
    return workers <= 1 ? loop.runOnOneThread(grids) : loop.runOnWorkers(grids, workers);
}

}  // namespace zelvo
