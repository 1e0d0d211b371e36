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
        std::vector<std::thread> threads;
        for (int i = 0; i < workers; ++i) threads.emplace_back([this, &grids] { work(grids); });

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
            writeFinished(end ? 0 : maxInFlight);
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
    // A worker: its own current grids and pipeline, its streams in memory.
    void work(const GridSelection& shared) {
        CGrille1D geoidGrid = shared.geoidGrid;
        CGrille3D translationGrid = shared.translationGrid;
        GridSelection grids{shared.catalogue, geoidGrid, translationGrid, nullptr, &fileLock_};
        grids.geoidCandidates = shared.geoidCandidates;
        grids.translationCandidates = shared.translationCandidates;
        PointPipeline pipeline(grids, setup_.transformationType, setup_.departure, setup_.arrival);
        Out_Fic out, report, log;
        const auto inMemory = [](Out_Fic& stream, const Out_Fic& like) {
            stream.openMemory();
            stream.dataFormat = like.dataFormat;
            stream.annotated = like.annotated;
            stream.clock = like.clock;
        };
        inMemory(out, setup_.out);
        if (setup_.report != nullptr) inMemory(report, *setup_.report);
        if (setup_.log != nullptr) inMemory(log, *setup_.log);
        FileRunWorker worker{pipeline, out, setup_.report != nullptr ? &report : nullptr,
                             setup_.log != nullptr ? &log : nullptr};
        CCoor d, a;
        for (;;) {
            std::shared_ptr<Block> block;
            {
                std::unique_lock lock(mutex_);
                workReady_.wait(lock, [this] { return !waiting_.empty() || finished_; });
                if (waiting_.empty()) return;
                block = std::move(waiting_.front());
                waiting_.pop_front();
            }
            std::size_t start = 0;
            for (std::size_t i = 0; i < block->ends.size(); ++i) {
                const int outBefore = out.linesWritten, reportBefore = report.linesWritten;
                handleLine(worker, std::string_view(block->text).substr(start, block->ends[i] - start),
                           block->tooLong[i], d, a);
                start = block->ends[i];
                if (!block->firstArrival && out.linesWritten > outBefore) block->firstArrival.emplace(d, a);
                if (!block->firstReport && report.linesWritten > reportBefore) block->firstReport.emplace(d, a);
            }
            block->arrival = out.takeMemory();
            block->arrivalLines = std::exchange(out.linesWritten, 1) - 1;
            block->report = report.takeMemory();
            block->reportLines = std::exchange(report.linesWritten, 1) - 1;
            block->log = log.takeMemory();
            block->counts = {std::exchange(worker.succeeded, 0), std::exchange(worker.outside, 0)};
            {
                std::lock_guard lock(mutex_);
                block->done = true;
            }
            blockDone_.notify_one();
        }
    }

    // Appends the finished blocks at the head of the run to the streams, in line order, until at
    // most `keep` blocks remain in flight.
    void writeFinished(std::size_t keep) {
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
    std::mutex fileLock_;
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
