// SPDX-License-Identifier: MIT
// Lists as spreadsheets write them: sheets made here as flat OpenDocument (plain XML),
// exported by LibreOffice as users export them, semicolons, commas and tabs in UTF-8 and
// its plain CSV under a German locale (ISO-8859-1, decimal commas), drawn in one batch each
// and every label read back.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include <qvbarcode/imagefile/PngFile.h>
#include "ProgramRun.h"
#include "ReadBack.h"

namespace qv::cli::test {
namespace {

// A sheet of rows of cells: a text, "#N" a number cell that shows N ("#eN" in scientific
// notation), "~" nothing at all. (No text here holds the & or < that XML escapes.)
std::string Fods(const std::vector<std::vector<std::string>>& rows) {
    std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles><number:number-style style:name="N1"><number:scientific-number number:decimal-places="5" number:min-integer-digits="1" number:min-exponent-digits="2"/></number:number-style>
<style:style style:name="sci" style:family="table-cell" style:data-style-name="N1"/></office:automatic-styles>
<office:body><office:spreadsheet><table:table table:name="List">
)";
    for (const std::vector<std::string>& row : rows) {
        xml += "<table:table-row>";
        for (const std::string& c : row) {
            const bool number = c.starts_with('#'), scientific = c.starts_with("#e");
            xml += c == "~"  ? "<table:table-cell/>"
                   : !number ? "<table:table-cell office:value-type=\"string\"><text:p>" + c +
                                   "</text:p></table:table-cell>"
                             : std::string("<table:table-cell") +
                                   (scientific ? " table:style-name=\"sci\"" : "") +
                                   " office:value-type=\"float\" office:value=\"" +
                                   c.substr(scientific ? 2 : 1) + "\"/>";
        }
        xml += "</table:table-row>\n";
    }
    return xml + "</table:table></office:spreadsheet></office:body></office:document>\n";
}

// LibreOffice's export filters, each in a process and profile of its own, side by side.
struct Export {
    std::string folder;
    std::string filter;
    std::string environment = "LC_ALL=C.UTF-8";
    std::string options = "";  // what the batch needs to read it
};
const Export kExports[]{
    {"semicolon", "csv:Text - txt - csv (StarCalc):59,34,76,1"},
    {"comma", "csv:Text - txt - csv (StarCalc):44,34,76,1"},
    {"tab", "csv:Text - txt - csv (StarCalc):9,34,76,1"},
    {"plain", "csv", "LC_ALL=de_DE.UTF-8", "--encoding latin1"},
};

// Converts every sheet to every export's folder, in one LibreOffice start per filter, all
// at once (each takes a few seconds to start).
void ExportAll(const ScratchDirectory& dir, const std::string& sheets) {
    std::string script;
    for (const Export& e : kExports) {
        script += "env " + e.environment + " soffice -env:UserInstallation=file://" +
                  dir.path.string() + "/profile-" + e.folder + " --headless --convert-to '" +
                  e.filter + "' --outdir " + e.folder + " " + sheets + " >/dev/null 2>&1 & ";
    }
    ASSERT_EQ(RunShell(dir, script + "wait").status, 0);
    for (const Export& e : kExports) {
        ASSERT_TRUE(std::filesystem::exists(dir / e.folder / "items.csv")) << e.folder;
    }
}

// Names in every script, separators and quotes in the cells; EANs with their check digit and
// without (--check-digit auto), prices the locale writes with a decimal comma, and the empty
// rows a formula column leaves at the end.
TEST(SpreadsheetExports, EveryLabelOfEveryExportIsDrawnAndScans) {
    const std::vector<std::pair<std::string, std::string>> labels{
        {"Caf\u00e9 molido", "4006381333931"},
        {"N\u00fcsse, ger\u00f6stet; \"extra\"", "5901234123457"},
        {"\u00d1and\u00fa", "4006381333948"},
    };
    std::vector<std::vector<std::string>> items{{"SKU", "Name", "EAN", "Price"}};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const auto& [name, ean] = labels[i];
        const std::string n = std::to_string(i + 1);
        items.push_back({"K-" + n, name, i == 1 ? ean.substr(0, 12) : ean, "#" + n + ".5"});
    }
    items.insert(items.end(), 2, {"~", "~", "~", ""});
    // The damaged column: a number in scientific notation, one that lost its leading zero,
    // a wrong check digit, a letter O for a zero.
    const std::vector<std::vector<std::string>> damaged{{"SKU", "EAN"},
                                                        {"D-1", "#e4006381333931"},
                                                        {"D-2", "#36000291452"},
                                                        {"D-3", "4006381333932"},
                                                        {"D-4", "40063813339O"}};
    ScratchDirectory dir;
    std::ofstream(dir / "items.fods") << Fods(items);
    std::ofstream(dir / "damaged.fods") << Fods(damaged);
    ExportAll(dir, "items.fods damaged.fods");

    for (const Export& e : kExports) {
        const std::string batch = "qvbarcode --batch " + e.folder +
                                  "/items.csv --text-column EAN -t ean13 --check-digit auto -w "
                                  "--dpi 300 --module 0.33mm --quiet-zone 11 ";
        const ProgramRun run =
            RunShell(dir, batch + e.options + " -o '" + e.folder + "-labels/{Name}.png'");
        EXPECT_EQ(run.status, 0) << e.folder << ": " << run.err;
        EXPECT_TRUE(Holds(run.err, "3 drawn, 0 failed, 2 empty rows skipped\n")) << e.folder;
        for (const auto& [name, ean] : labels) {
            const auto file = dir / (e.folder + "-labels") / (name + ".png");
            ASSERT_TRUE(std::filesystem::exists(file)) << e.folder << ": " << name;
            EXPECT_EQ(Decode(imagefile::ReadPng(file)), ean) << e.folder << ": " << name;
        }
        if (!e.options.empty()) {
            // Read as UTF-8, the ISO-8859-1 export stops before any record.
            const ProgramRun refused = RunShell(dir, batch + "-o 'refused/{Name}.png'");
            EXPECT_EQ(refused.status, 2);
            EXPECT_TRUE(Holds(refused.err, "line 2 is not UTF-8 (\"K-1,Caf\\xe9 molido,"));
            EXPECT_FALSE(std::filesystem::exists(dir / "refused"));
        }
    }

    // What the damaged export's records say, in English and in Spanish; the file an earlier
    // run wrote for D-3 is left and named.
    const std::pair<std::string, std::string> said[]{
        {"\"4.00638E+12\": 1101 Invalid Character Found In Barcode Text: 4.00638E+12 looks like "
         "a number the spreadsheet reformatted: format the column as text",
         "\"4.00638E+12\": 1101 Se encontro un caracter NO Valido Contenido en el texto a "
         "Codificar: 4.00638E+12 parece un numero que la hoja de calculo reformateo: de formato "
         "de texto a la columna"},
        {": 11 digits given; EAN-13 needs 12 without its check digit (-c adds it) or 13 with "
         "it; a spreadsheet drops a number's leading zeros: format the column as text",
         ": 11 digitos dados; EAN-13 necesita 12 sin su digito de control (-c lo agrega) o 13 "
         "con el; una hoja de calculo quita los ceros iniciales de un numero: de formato de "
         "texto a la columna"},
        {"\"4006381333932\": the check digit of 400638133393 is 1, not 2: --no-verify draws it "
         "as given; labels/D-3.png from an earlier run is left unchanged",
         "\"4006381333932\": el digito de control de 400638133393 es 1, no 2: --no-verify lo "
         "dibuja tal como esta; labels/D-3.png de una ejecucion anterior queda sin cambios"},
        {"'O' is not a digit: EAN-13 encodes the digits 0 to 9 only",
         "'O' no es un digito: EAN-13 codifica solo los digitos 0 a 9"},
    };
    RunShell(dir, "mkdir labels && echo old >labels/D-3.png");
    for (const std::string language : {"C", "es_ES.UTF-8"}) {
        const ProgramRun run =
            RunShell(dir, "LC_ALL=" + language +
                              " qvbarcode --batch comma/damaged.csv "
                              "--text-column EAN -t ean13 -o 'labels/{SKU}.png'");
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Holds(run.err, "0 drawn, 4 failed\n"));
        for (const auto& [english, spanish] : said)
            EXPECT_TRUE(Holds(run.err, language == "C" ? english : spanish));
    }
    EXPECT_EQ(FileText(dir / "labels/D-3.png"), "old\n");
}

}  // namespace
}  // namespace qv::cli::test
