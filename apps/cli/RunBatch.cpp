#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <unordered_map>
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

namespace fs = std::filesystem;

// The lines of a regular file, for the progress bar; 0 (unknown) for a pipe or a terminal,
// which cannot be read twice.
std::int64_t CountLines(const std::string& path, std::ifstream& file) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
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
    std::vector<std::string> warnings;
};
using Outcome = std::variant<std::string, DrawnFile>;

// Draws the records and names their files; a name taken by an earlier record of the batch
// is never written twice.
class RecordDrawer {
  public:
    RecordDrawer(BarcodeRenderer& renderer, const OutputPattern& pattern)
        : renderer_(renderer), pattern_(pattern) {}

    Outcome Draw(const BatchRecord& record) {
        if (!record.settings) {
            return record.error;
        }
        if (!record.settings->barCodeType) {
            return std::string("no barcode type: give -t TYPE or a BarCodeType column");
        }
        OutputPattern::Name name = pattern_.Expand(record.number, record.text, record.cells);
        if (!name.error.empty()) {
            return name.error;
        }
        // Numbered names are unique by themselves; only names from the data are remembered.
        if (pattern_.NamesColumns()) {
            if (const auto taken = taken_.find(name.path); taken != taken_.end()) {
                return name.path + " is record " + std::to_string(taken->second) +
                       "'s file already: not overwritten";
            }
        }
        Drawing drawing;
        try {
            drawing = renderer_.Render(*record.settings);
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
        if (pattern_.NamesColumns()) {
            taken_.emplace(name.path, record.number);
        }
        return DrawnFile{std::move(name.path), std::move(drawing.bytes),
                         std::move(drawing.warnings)};
    }

  private:
    BarcodeRenderer& renderer_;
    const OutputPattern& pattern_;
    std::unordered_map<std::string, std::int64_t> taken_;
};

// Writes the files and reports on the records in the order they were drawn.
class BatchReport {
  public:
    explicit BatchReport(std::int64_t total) : progress_(Progress::TerminalOrNull(stderr), total) {}

    void Record(const BatchRecord& record, const Outcome& outcome) {
        std::optional<std::string> message;
        if (const auto* file = std::get_if<DrawnFile>(&outcome)) {
            for (const std::string& warning : file->warnings) {
                Say(record, "warning: " + warning);
            }
            message = MakeFolderFor(file->path);
            if (!message) {
                message = WriteOutput(file->path, file->bytes);
            }
        } else {
            message = std::get<std::string>(outcome);
        }
        if (message) {
            Say(record, *message);
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
    void Say(const BatchRecord& record, const std::string& message) {
        progress_.Clear();
        std::fprintf(stderr, "qvbarcode: %s: %s\n", RecordName(record).c_str(), message.c_str());
    }

    // The pattern's folders are made as files need them; the last one made is remembered.
    std::optional<std::string> MakeFolderFor(const std::string& path) {
        const fs::path folder = fs::path(path).parent_path();
        if (folder.empty() || folder == lastFolder_) {
            return std::nullopt;
        }
        std::error_code error;
        fs::create_directories(folder, error);
        if (error) {
            return "cannot make the folder " + folder.string() + ": " + error.message();
        }
        lastFolder_ = folder;
        return std::nullopt;
    }

    Progress progress_;
    fs::path lastFolder_;
    std::int64_t drawn_ = 0;
    std::int64_t failed_ = 0;
};

// Says which columns the batch reads nothing from, once.
void NameOtherColumns(const BatchReader& reader, const OutputPattern& pattern) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < reader.ColumnNames().size(); ++i) {
        if (reader.IsOtherColumn(i) && !pattern.UsesColumn(i)) {
            names.push_back(reader.ColumnNames()[i]);
        }
    }
    if (names.empty()) {
        return;
    }
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : ", ") + name;
    }
    std::fprintf(stderr,
                 "qvbarcode: ignoring the column%s %s: %s no property (a file name pattern may "
                 "use %s, as {%s})\n",
                 names.size() > 1 ? "s" : "", joined.c_str(),
                 names.size() > 1 ? "they set" : "it sets", names.size() > 1 ? "them" : "it",
                 names.front().c_str());
}

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
    auto render = ReadRenderOptions(options);
    if (auto* error = std::get_if<std::string>(&render)) {
        std::fprintf(stderr, "qvbarcode: %s\n", error->c_str());
        return kExitUsage;
    }
    BatchReader reader(*list, {options.settings, options.textColumn, options.dotsPerInch});
    OutputPattern pattern = std::get<OutputPattern>(OutputPattern::Parse(options.output));
    std::string error;
    if (auto header = reader.Start()) {
        error = std::move(*header);
    } else {
        error = pattern.Bind(reader.ColumnNames());
    }
    if (!error.empty()) {
        std::fprintf(stderr, "qvbarcode: %s: %s\n",
                     options.batchInput == "-" ? "standard input" : options.batchInput.c_str(),
                     error.c_str());
        return kExitUsage;
    }
    NameOtherColumns(reader, pattern);

    std::optional<BarcodeRenderer> renderer;
    try {
        renderer.emplace(std::get<RenderOptions>(std::move(render)));
    } catch (const host::FailedCall& failure) {
        // The caption's font: without it no record can be drawn.
        std::fprintf(stderr, "qvbarcode: %s\n", FailedCallLine(failure).c_str());
        return kExitFailedCall;
    }
    RecordDrawer drawer(*renderer, pattern);
    BatchReport report(reader.HasHeader() ? lines - 1 : lines);
    {
        // The next picture is drawn while the last is written: files cost as much again as
        // drawing, mostly in the kernel. A few pictures in flight keep both sides busy.
        SerialWorker writer(32);
        while (auto record = reader.Next()) {
            Outcome outcome = drawer.Draw(*record);
            writer.Post([&report, record = std::move(*record), outcome = std::move(outcome)] {
                report.Record(record, outcome);
            });
        }
        writer.Finish();
    }
    return report.Summary(!list->bad());
}

}  // namespace qv::cli
