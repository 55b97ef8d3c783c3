// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "input/RecordColumns.h"
#include "options/CliOptions.h"
#include "output/FileAccess.h"
#include "output/LabelDocument.h"
#include "output/LabelPages.h"
#include "pipeline/BatchWork.h"

namespace qv::cli {

// What a batch into one document adds to the batch: each record's caption and copies, read
// with it, and its pages, placed in reading order as the records are reported.
class BatchDocument {
  public:
    // The document begun for the command line and the list's columns, or why it cannot be
    // (a sheet that is not installed, --first beyond a sheet, a column the list lacks, a
    // folder that is not there). Raises no failed call.
    static std::variant<std::unique_ptr<BatchDocument>, std::string> Begin(
        const Options& options, const std::vector<std::string>& columns);

    // In reading order: the record becomes a page's drawing instead of a file's.
    void Prepare(RecordJob& job) const;
    // In reporting order: its pages, or why it has none.
    std::string Place(RecordJob& job);
    bool UsesColumn(std::size_t column) const;
    // Whether a drawing was larger than its label or moved off its page, which the command
    // line must change.
    bool SomeTooLarge() const { return tooLarge_; }
    // Ends the document and names it; without a page nothing is written. Nothing when
    // written or when there was nothing to write, else why not.
    std::optional<FileFailure> Finish();
    // After Finish: whether the file was written, where, in what language, on what media.
    bool Written() const { return written_; }
    const std::string& Path() const { return path_; }
    DocumentKind Kind() const { return kind_; }
    const LabelPages& Pages() const { return pages_; }

    // Begin's: raises the failed call when the document's file cannot be made.
    BatchDocument(const Options& options, PagePlan plan, std::optional<CellText> caption,
                  std::optional<std::size_t> copiesColumn);

  private:
    std::string path_;
    DocumentKind kind_;
    std::unique_ptr<LabelDocument> document_;
    LabelPages pages_;
    std::optional<CellText> caption_;
    std::optional<std::size_t> copiesColumn_;
    std::int32_t copies_;
    std::string copiesName_;
    bool printing_;
    bool tooLarge_ = false;
    bool written_ = false;
};

}  // namespace qv::cli
