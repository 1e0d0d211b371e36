#include "files/file_run.hpp"

#include <fmt/printf.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

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

// Lines a worker takes at a time, and the size below which a file is transformed on one thread.
constexpr std::size_t kBlockLines = 1024;
constexpr long long kThreadedFileBytes = 256 * 1024;

// Lines of the departure file on their way through a worker, and what they gave.
struct Block {
    std::string text;                // the lines, one after the other
    std::vector<std::size_t> ends;   // where each line ends in text
    std::vector<bool> tooLong;
    std::string arrival, report, log;
    int arrivalLines = 0, reportLines = 0;
    // The points of the first lines written: an annotated file or a report that starts in this
    // block takes its header from them, as it would on one thread.
    std::optional<std::pair<CCoor, CCoor>> firstArrival, firstReport;
    FileRunCounts counts;
    bool done = false;
};

class FileRunLoop {
public:
    FileRunLoop(const FileRunSetup& setup, const FileRunHandler& handler) : setup_(setup), handler_(handler) {}

    // One line through the handler, from the templates; comments and blank lines stop here.
    void handleLine(FileRunWorker& worker, std::string_view line, bool tooLong, CCoor& d, CCoor& a) const {
        d = setup_.departure;
        a = setup_.arrival;
        const std::string_view status = In_Fic::parseLine(line, tooLong, setup_.in.dataFormat, d);
        if (status == texts::kStatusComment || status == texts::kStatusBlankLine) return;
        handler_(worker, status, d, a);
    }

    // The progress of one more line read.
    void countLine() {
        if (setup_.progressStep > 0 && ++counter_ == setup_.progressStep) {
            counter_ = 0;
            setup_.context.ui.progressStep();
        }
    }

    FileRunCounts runOnOneThread(GridSelection& grids) {
        PointPipeline pipeline(grids, setup_.transformationType, setup_.departure, setup_.arrival);
        FileRunWorker worker{pipeline, setup_.out, setup_.report, setup_.log};
        CCoor d, a;
        for (;;) {
            countLine();
            const In_Fic::NextLine next = setup_.in.nextLine();
            if (next == In_Fic::NextLine::End) break;
            if (next == In_Fic::NextLine::Line) handleLine(worker, setup_.in.line(), setup_.in.lineTooLong(), d, a);
        }
        return {worker.succeeded, worker.outside};
    }

    FileRunCounts runOnWorkers(GridSelection& grids, int workers) {
        // Every candidate grid's header is read here, once, with the run's user interface; the
        // workers then only load the grids they choose, one at a time.
        readCandidateHeaders(grids);
        // The reading thread is one of the workers: it transforms blocks while it waits for the
        // head of the run.
        Worker own(*this, grids);
        std::vector<std::thread> threads;
        for (int i = 1; i < workers; ++i) threads.emplace_back([this, &grids] { work(grids); });

        const std::size_t maxInFlight = 2 * static_cast<std::size_t>(workers) + 2;
        bool end = false;
        while (!end) {
            auto block = std::make_shared<Block>();
            while (block->ends.size() < kBlockLines) {
                countLine();
                const In_Fic::NextLine next = setup_.in.nextLine();
                if (next == In_Fic::NextLine::End) {
                    end = true;
                    break;
                }
                if (next == In_Fic::NextLine::Missing) continue;
                block->text += setup_.in.line();
                block->ends.push_back(block->text.size());
                block->tooLong.push_back(setup_.in.lineTooLong());
            }
            if (!block->ends.empty()) {
                std::lock_guard lock(mutex_);
                waiting_.push_back(block);
                inFlight_.push_back(block);
                workReady_.notify_one();
            }
            writeFinished(own, end ? 0 : maxInFlight);
        }
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
              grids{shared.catalogue, geoidGrid, translationGrid, nullptr, &loop.fileLock_, shared.geoidCandidates,
                    shared.translationCandidates},
              pipeline(grids, loop.setup_.transformationType, loop.setup_.departure, loop.setup_.arrival),
              streams{pipeline, out, loop.setup_.report != nullptr ? &report : nullptr,
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
        PointPipeline pipeline;
        Out_Fic out, report, log;
        FileRunWorker streams;
        CCoor d, a;
    };

    // The lines of a block through a worker, into the block.
    void transform(Worker& w, Block& block) const {
        std::size_t start = 0;
        for (std::size_t i = 0; i < block.ends.size(); ++i) {
            const int outBefore = w.out.linesWritten, reportBefore = w.report.linesWritten;
            handleLine(w.streams, std::string_view(block.text).substr(start, block.ends[i] - start), block.tooLong[i],
                       w.d, w.a);
            start = block.ends[i];
            if (!block.firstArrival && w.out.linesWritten > outBefore) block.firstArrival.emplace(w.d, w.a);
            if (!block.firstReport && w.report.linesWritten > reportBefore) block.firstReport.emplace(w.d, w.a);
        }
        block.arrival = w.out.takeMemory();
        block.arrivalLines = std::exchange(w.out.linesWritten, 1) - 1;
        block.report = w.report.takeMemory();
        block.reportLines = std::exchange(w.report.linesWritten, 1) - 1;
        block.log = w.log.takeMemory();
        block.counts = {std::exchange(w.streams.succeeded, 0), std::exchange(w.streams.outside, 0)};
    }

    // A worker thread: takes the blocks no one has taken, until the run is read.
    void work(const GridSelection& shared) {
        Worker w(*this, shared);
        for (;;) {
            std::shared_ptr<Block> block;
            {
                std::unique_lock lock(mutex_);
                workReady_.wait(lock, [this] { return !waiting_.empty() || finished_; });
                if (waiting_.empty()) return;
                block = std::move(waiting_.front());
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
                const std::shared_ptr<Block> block = std::move(inFlight_.front());
                inFlight_.pop_front();
                lock.unlock();
                write(*block);
                lock.lock();
            }
            if (inFlight_.size() <= keep) return;
            if (!waiting_.empty()) {
                const std::shared_ptr<Block> block = std::move(waiting_.front());
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
        if (block.arrivalLines > 0) {
            setup_.out.beginPoints(block.firstArrival->first, block.firstArrival->second, setup_.transformationType,
                                   setup_.withConversion);
            setup_.out.appendBlock(block.arrival, block.arrivalLines);
        }
        if (setup_.report != nullptr && block.reportLines > 0) {
            beginReport(*setup_.report, block.firstReport->first, block.firstReport->second, setup_.in, setup_.out,
                        setup_.transformationType);
            setup_.report->appendBlock(block.report, block.reportLines);
        }
        if (setup_.log != nullptr) setup_.log->appendBlock(block.log, 0);
        counts_.succeeded += block.counts.succeeded;
        counts_.outside += block.counts.outside;
    }

    const FileRunSetup& setup_;
    const FileRunHandler& handler_;
    int counter_ = 0;
    FileRunCounts counts_;
    mutable std::mutex fileLock_;
    std::mutex mutex_;
    std::condition_variable workReady_, blockDone_;
    std::deque<std::shared_ptr<Block>> waiting_;   // blocks no worker has taken yet
    std::deque<std::shared_ptr<Block>> inFlight_;  // blocks not yet written, in line order
    bool finished_ = false;
};

}  // namespace

std::string_view pointStatus(PointCondition condition, const PointPipeline& pipeline, std::string& chainError,
                             ExtentTexts extentTexts) {
    const bool table = extentTexts == ExtentTexts::StringTable;
    switch (condition) {
        case PointCondition::None: return texts::kStatusOk;
        case PointCondition::OutsideTransformationGrid: return loadString(2233);
        case PointCondition::DepartureOutsideProjection:
            return table ? loadString(2234) : texts::kDepartureOutsideProjection;
        case PointCondition::DepartureOutsideSystem: return table ? loadString(2235) : texts::kDepartureOutsideSystem;
        case PointCondition::ArrivalOutsideProjection:
            return table ? loadString(2236) : texts::kArrivalOutsideProjection;
        case PointCondition::ArrivalOutsideSystem: return table ? loadString(2237) : texts::kArrivalOutsideSystem;
        case PointCondition::ChainError:
            chainError = fmt::sprintf(texts::kChainError, pipeline.chainStatus());
            if (chainError.ends_with('\n')) chainError.pop_back();
            return chainError;
    }
    return texts::kStatusOk;
}

int fileRunWorkers(long long fileBytes) {
    if (fileBytes < kThreadedFileBytes) return 1;
    if (const auto requested = environmentVariable("ZELVO_THREADS")) {
        const int n = leadingInt(*requested);
        if (n > 0) return n;
    }
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

FileRunCounts runFileLines(const FileRunSetup& setup, const FileRunHandler& handler) {
    RunContext& context = setup.context;
    GridSelection grids{context.catalogue, context.geoidGrid, context.translationGrid, &context.ui};
    FileRunLoop loop(setup, handler);
    const int workers = fileRunWorkers(setup.in.size);
    return workers <= 1 ? loop.runOnOneThread(grids) : loop.runOnWorkers(grids, workers);
}

}  // namespace zelvo
