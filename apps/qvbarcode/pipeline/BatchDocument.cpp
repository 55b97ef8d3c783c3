// SPDX-License-Identifier: MIT
#include "pipeline/BatchDocument.h"

#include <cstdio>

#include <qvbarcode/host/FailedCall.h>
#include "input/SheetTemplates.h"
#include "options/TerminalText.h"
#include "output/FailureText.h"

namespace qv::cli {

namespace {

std::variant<PagePlan, std::string> PlanPages(const Options& options) {
    const LabelLayout& l = options.labels;
    PagePlan plan;
    plan.firstLabel = l.firstLabel;
    plan.offsetX = PointsOf(l.offsetX, options.dotsPerInch);
    plan.offsetY = PointsOf(l.offsetY, options.dotsPerInch);
    plan.outline = l.outline;
    plan.dotsPerInch = options.dotsPerInch;
    if (l.sheet.empty()) return plan;
    auto sheet = FindSheet(l.sheet, std::string(kSheetTemplateFolder));
    if (auto* why = std::get_if<std::string>(&sheet)) return "--sheet: " + *why;
    plan.sheet = std::get<SheetLayout>(std::move(sheet));
    if (l.firstLabel > plan.sheet->LabelsPerSheet()) {
        return "--first " + std::to_string(l.firstLabel) + ": a sheet of " + plan.sheet->name +
               " has " + std::to_string(plan.sheet->LabelsPerSheet()) + " labels";
    }
    return plan;
}

}  // namespace

std::variant<std::unique_ptr<BatchDocument>, std::string> BatchDocument::Begin(
    const Options& options, const std::vector<std::string>& columns) {
    auto plan = PlanPages(options);
    if (auto* why = std::get_if<std::string>(&plan)) return std::move(*why);
    std::optional<CellText> caption;
    if (!options.labels.caption.empty()) {
        auto bound = CellText::Bind(options.labels.caption, columns);
        if (auto* why = std::get_if<std::string>(&bound)) return std::move(*why);
        caption = std::get<CellText>(std::move(bound));
    }
    std::optional<std::size_t> copiesColumn;
    if (!options.labels.copiesColumn.empty()) {
        auto found = FindColumn(columns, options.labels.copiesColumn, "--copies-column");
        if (auto* why = std::get_if<std::string>(&found)) return std::move(*why);
        copiesColumn = std::get<std::size_t>(found);
    }
    try {
        return std::make_unique<BatchDocument>(options, std::get<PagePlan>(std::move(plan)),
                                               std::move(caption), copiesColumn);
    } catch (const host::FailedCall& failure) {
        return FailedCallLine(failure);
    }
}

BatchDocument::BatchDocument(const Options& options, PagePlan plan, std::optional<CellText> caption,
                             std::optional<std::size_t> copiesColumn)
    : path_(options.output),
      kind_(options.format == OutputFormat::Ps ? DocumentKind::PostScript : DocumentKind::Pdf),
      document_(MakeLabelDocument(options.output, kind_)),
      pages_(*document_, std::move(plan)),
      caption_(std::move(caption)),
      copiesColumn_(copiesColumn),
      copies_(options.labels.copies),
      copiesName_(options.labels.copiesColumn),
      printing_(options.printQueue.has_value()) {}

void BatchDocument::Prepare(RecordJob& job) const {
    job.path.clear();
    if (!job.failure.empty() || job.record.empty) return;
    if (caption_) job.caption = caption_->Expand(job.record.text, job.record.cells);
    job.copies = copies_;
    if (copiesColumn_) {
        const std::string cell =
            *copiesColumn_ < job.record.cells.size() ? job.record.cells[*copiesColumn_] : "";
        if (const auto copies = CopiesOf(cell)) {
            job.copies = *copies;
        } else {
            job.failure =
                "the " + copiesName_ + " cell '" + cell + "' is no number of copies (0 to 100000)";
        }
    }
}

std::string BatchDocument::Place(RecordJob& job) {
    std::string why = pages_.Place(*job.recording, job.copies);
    tooLarge_ = tooLarge_ || !why.empty();
    return why;
}

bool BatchDocument::UsesColumn(std::size_t column) const {
    return (caption_ && caption_->UsesColumn(column)) || copiesColumn_ == column;
}

std::optional<FileFailure> BatchDocument::Finish() {
    if (document_->Pages() == 0) {
        if (printing_) {  // the path is the spool's, or one the printer would have read
            std::fprintf(stderr, "qvbarcode: no label to print: nothing sent to the printer\n");
        } else {
            std::fprintf(stderr, "qvbarcode: no label to print: %s not written\n",
                         TerminalText(path_).c_str());
        }
        return std::nullopt;
    }
    auto failure = document_->Finish();
    written_ = !failure;
    return failure;
}

}  // namespace qv::cli
