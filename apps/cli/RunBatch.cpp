#include <cstdio>
#include <fstream>
#include <iostream>
#include <new>
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

std::optional<std::vector<BatchRecord>> ReadRecords(const Options& options) {
    if (options.batchInput == "-") {
        return ReadBatchRecords(std::cin, options.settings);
    }
    std::ifstream list(options.batchInput);
    if (!list) {
        return std::nullopt;
    }
    auto records = ReadBatchRecords(list, options.settings);
    if (list.bad()) {
        return std::nullopt;
    }
    return records;
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
    } catch (const component::FailedCall& failure) {
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

    int Summary() {
        progress_.Clear();
        std::fprintf(stderr, "qvbarcode: %lld drawn, %lld failed\n", static_cast<long long>(drawn_),
                     static_cast<long long>(failed_));
        return failed_ == 0 ? kExitDrawn : kExitResultCode;
    }

  private:
    Progress progress_;
    std::int64_t drawn_ = 0;
    std::int64_t failed_ = 0;
};

}  // namespace

int RunBatch(const Options& options) {
    const auto records = ReadRecords(options);
    if (!records) {
        std::fprintf(stderr, "qvbarcode: cannot read the batch list %s\n",
                     options.batchInput.c_str());
        return kExitUsage;
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
    BatchReport report(static_cast<std::int64_t>(records->size()));
    {
        // The next picture is drawn while the last is written: files cost as much again as
        // drawing, mostly in the kernel. A few pictures in flight keep both sides busy.
        SerialWorker writer(8);
        for (const BatchRecord& record : *records) {
            writer.Post([&report, &record, outcome = DrawRecord(renderer, record, options.output)] {
                report.Record(record, outcome);
            });
        }
        writer.Finish();
    }
    return report.Summary();
}

}  // namespace qv::cli
