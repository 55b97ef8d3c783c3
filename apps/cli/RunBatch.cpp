#include <cstdio>
#include <fstream>
#include <iostream>
#include <new>

#include "BatchRecords.h"
#include "Commands.h"
#include "ExitStatus.h"
#include "FailureText.h"
#include "FileAccess.h"
#include "OutputPattern.h"
#include "Progress.h"
#include "RenderBarcode.h"

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

// Draws and writes one record; the message about it when it fails.
std::optional<std::string> DrawRecord(BarcodeRenderer& renderer, const BatchRecord& record,
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
    return WriteOutput(ExpandPattern(pattern, record.number), drawing.bytes);
}

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
    Progress progress(Progress::TerminalOrNull(stderr), static_cast<std::int64_t>(records->size()));
    std::int64_t drawn = 0;
    std::int64_t failed = 0;
    for (const BatchRecord& record : *records) {
        if (auto message = DrawRecord(renderer, record, options.output)) {
            progress.Clear();
            std::fprintf(stderr, "qvbarcode: record %lld (line %lld): %s\n",
                         static_cast<long long>(record.number), static_cast<long long>(record.line),
                         message->c_str());
            ++failed;
        } else {
            ++drawn;
        }
        progress.Update(drawn + failed);
    }
    progress.Clear();
    std::fprintf(stderr, "qvbarcode: %lld drawn, %lld failed\n", static_cast<long long>(drawn),
                 static_cast<long long>(failed));
    return failed == 0 ? kExitDrawn : kExitResultCode;
}

}  // namespace qv::cli
