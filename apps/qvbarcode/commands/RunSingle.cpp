// SPDX-License-Identifier: MIT
#include <cstdio>

#include "commands/Commands.h"
#include "commands/PrintedDocument.h"
#include "drawing/RenderBarcode.h"
#include "options/ExitStatus.h"
#include "options/TerminalText.h"
#include "output/FailureText.h"
#include "output/FileAccess.h"
#include "output/PrintQueue.h"
#include "pipeline/BatchDocument.h"

namespace qv::cli {

namespace {

// The barcode's copies on the document's pages, printed when asked; the exit status.
int WriteDocument(const Options& options, BatchDocument& document, RecordJob& job,
                  const Drawing& drawing) {
    job.recording = drawing.recording;
    job.width = drawing.width;
    job.height = drawing.height;
    if (const std::string why = document.Place(job); !why.empty()) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(why).c_str());
        return kExitUsage;
    }
    if (auto error = document.Finish()) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(error->message).c_str());
        return kExitUsage;
    }
    return options.printQueue ? PrintFinishedDocument(options, document) : kExitDrawn;
}

// The drawn document sent to the queue, on media of the label's printed size.
int PrintDrawing(const Options& options, const Drawing& drawing) {
    constexpr double kMillimetresPerInch = 25.4;
    const PrintJob job{
        drawing.bytes,
        options.format == OutputFormat::Eps ? DocumentKind::PostScript : DocumentKind::Pdf,
        drawing.width * kMillimetresPerInch / options.dotsPerInch,
        drawing.height * kMillimetresPerInch / options.dotsPerInch,
        1,
        options.settings.text.value_or("qvbarcode")};
    const PrintResult printed = PrintDocument(*options.printQueue, job);
    if (!printed.failure.empty()) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(printed.failure).c_str());
        return kExitUsage;
    }
    // On standard output, unless the document goes there.
    std::fprintf(options.output == "-" ? stderr : stdout, "sent to printer queue %s as job %d\n",
                 TerminalText(printed.queue).c_str(), printed.jobId);
    return kExitDrawn;
}

}  // namespace

int RunSingle(const Options& options) {
    auto render = ReadRenderOptions(options);
    if (auto* error = std::get_if<std::string>(&render)) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(*error).c_str());
        return kExitUsage;
    }
    // Laid out on a sheet or repeated: the pages of a document, as a batch's of one record.
    std::unique_ptr<BatchDocument> document;
    RecordJob job;
    if (options.oneDocument) {
        auto begun = BatchDocument::Begin(options, {});
        if (auto* why = std::get_if<std::string>(&begun)) {
            std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(*why).c_str());
            return kExitUsage;
        }
        document = std::get<std::unique_ptr<BatchDocument>>(std::move(begun));
        job.record.number = 1;
        job.record.text = options.settings.text.value_or("");
        document->Prepare(job);
        std::get<RenderOptions>(render).recording = true;
    }
    // A failed call ends the program in main, with its message and status.
    BarcodeRenderer renderer(std::get<RenderOptions>(std::move(render)));
    const Drawing drawing = renderer.Render(options.settings, job.caption);
    if (drawing.Failed()) {
        // A code stands alone on its line, as the control reports it.
        std::fprintf(stderr, "%s%s\n", drawing.refusal.empty() ? "" : "qvbarcode: ",
                     TerminalText(ResultCodeLine(drawing)).c_str());
        return kExitResultCode;
    }
    if (drawing.IsEmpty()) {
        std::fprintf(stderr, "qvbarcode: %s\n", EmptyPictureLine(drawing).c_str());
        return kExitUsage;
    }
    if (!drawing.reductionRefusal.empty()) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(drawing.reductionRefusal).c_str());
        return kExitUsage;
    }
    for (const std::string& warning : drawing.warnings) {
        std::fprintf(stderr, "qvbarcode: warning: %s\n", TerminalText(warning).c_str());
    }
    for (const RunNote& note : drawing.runNotes) {
        std::fprintf(stderr, "qvbarcode: %s%s\n", note.warning ? "warning: " : "",
                     TerminalText(note.text).c_str());
    }
    // On standard output, unless the picture goes there.
    std::fputs(drawing.explainReport.c_str(), options.output == "-" ? stderr : stdout);
    if (document) {
        return WriteDocument(options, *document, job, drawing);
    }
    if (!options.output.empty()) {
        if (auto error = WriteOutput(options.output, drawing.bytes)) {
            std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(error->message).c_str());
            return kExitUsage;
        }
    }
    return options.printQueue ? PrintDrawing(options, drawing) : kExitDrawn;
}

}  // namespace qv::cli
