#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <variant>

#include "BatchRecords.h"
#include "Commands.h"
#include "ExitStatus.h"
#include "FailureText.h"
#include "FileAccess.h"
#include "OutputPattern.h"
#include "Progress.h"
#include "RenderBarcode.h"
#include "SerialWorker.h"

namespace qv::cli {

namespace {

// The lines of a regular file, for the progress bar; 0 (unknown) for a pipe or a terminal,
// which cannot be read twice.
std::int64_t CountLines(const std::string& path, std::ifstream& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return 0;
    }
    std::array<char, 1 << 16> buffer;
    std::int64_t lines = 0;
    char last = '\n';
    while (file.read(buffer.data(), buffer.size()) || file.gcount() > 0) {
        const auto count = static_cast<std::size_t>(file.gcount());
        lines += std::count(buffer.data(), buffer.data() + count, '\n');
        last = buffer[count - 1];
    }
    file.clear();
    file.seekg(0);
    return last == '\n' ? lines : lines + 1;
}

// What drawing a record gave: the message about it when it failed, else the file to write.
struct DrawnFile {
    std::string path;
    std::string bytes;
};
using Outcome = std::variant<std::string, DrawnFile>;

Outcome DrawRecord(BarcodeRenderer& renderer, const BatchRecord& record,
                   const std::string& pattern) {
    if (!record.settings) {
        return record.error;
    }
    if (!record.settings->barCodeType) {
        return std::string("no barcode type: give -t TYPE or a BarCodeType column");
    }
    Drawing drawing;
    try {
        drawing = renderer.Render(*record.settings);
    } catch (const host::FailedCall& failure) {
        return FailedCallLine(failure);
    } catch (const std::bad_alloc&) {
        return std::string("failed call: out of memory");
    }
    if (drawing.code != 0) {
        return ResultCodeLine(drawing);
    }
    if (drawing.IsEmpty()) {
        return EmptyPictureLine(drawing);
    }
    return DrawnFile{ExpandPattern(pattern, record.number), std::move(drawing.bytes)};
}

// Writes the files and reports on the records in the order they were drawn.
class BatchReport {
  public:
    explicit BatchReport(std::int64_t total) : progress_(Progress::TerminalOrNull(stderr), total) {}

    void Record(const BatchRecord& record, const Outcome& outcome) {
        std::optional<std::string> message;
        if (const auto* file = std::get_if<DrawnFile>(&outcome)) {
            message = WriteOutput(file->path, file->bytes);
        } else {
            message = std::get<std::string>(outcome);
        }
        if (message) {
            progress_.Clear();
            std::fprintf(stderr, "qvbarcode: record %lld (line %lld): %s\n",
                         static_cast<long long>(record.number), static_cast<long long>(record.line),
                         message->c_str());
            ++failed_;
        } else {
            ++drawn_;
        }
        progress_.Update(drawn_ + failed_);
    }

    int Summary(bool listRead) {
        progress_.Clear();
        if (!listRead) {
            std::fprintf(stderr, "qvbarcode: cannot read the rest of the batch list\n");
        }
        std::fprintf(stderr, "qvbarcode: %lld drawn, %lld failed\n", static_cast<long long>(drawn_),
                     static_cast<long long>(failed_));
        return !listRead ? kExitUsage : failed_ == 0 ? kExitDrawn : kExitResultCode;
    }

  private:
    Progress progress_;
    std::int64_t drawn_ = 0;
    std::int64_t failed_ = 0;
};

}  // namespace

int RunBatch(const Options& options) {
    std::ifstream file;
    std::istream* list = &std::cin;
    std::int64_t lines = 0;
    if (options.batchInput != "-") {
        file.open(options.batchInput, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "qvbarcode: cannot read the batch list %s\n",
                         options.batchInput.c_str());
            return kExitUsage;
        }
        lines = CountLines(options.batchInput, file);
        list = &file;
    }
    std::optional<OntoBase> onto;
    if (options.onto) {
        auto image = ReadOntoImage(*options.onto);
        if (auto* error = std::get_if<std::string>(&image)) {
            std::fprintf(stderr, "qvbarcode: %s\n", error->c_str());
            return kExitUsage;
        }
        onto = std::get<OntoBase>(std::move(image));
    }

    BarcodeRenderer renderer(options.format, std::move(onto));
    BatchReader reader(*list, options.settings);
    std::optional<BatchRecord> next = reader.Next();  // after it, a header is known
    BatchReport report(reader.HasHeader() ? lines - 1 : lines);
    {
        // The next picture is drawn while the last is written: files cost as much again as
        // drawing, mostly in the kernel. A few pictures in flight keep both sides busy.
        SerialWorker writer(32);
        for (; next; next = reader.Next()) {
            Outcome outcome = DrawRecord(renderer, *next, options.output);
            writer.Post([&report, record = std::move(*next), outcome = std::move(outcome)] {
                report.Record(record, outcome);
            });
        }
        writer.Finish();
    }
    return report.Summary(!list->bad());
}

}  // namespace qv::cli
