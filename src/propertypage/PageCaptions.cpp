// SPDX-License-Identifier: MIT
#include <qvbarcode/propertypage/PageCaptions.h>

#include <array>
#include <string>

#include <qvbarcode/propertypage/QvBarCodePP.h>

#ifndef QV_VERSION
#define QV_VERSION "unknown"
#endif

namespace qv::propertypage {
namespace {

struct CaptionRow {
    CaptionedField& (*field)(QvBarCodePP&);
    std::u16string_view initial;
    std::u16string_view english;
    std::u16string_view spanish;
};

// The field a row captions, whatever its kind.
template <auto Member>
CaptionedField& FieldOf(QvBarCodePP& page) {
    return page.*Member;
}

const std::array<CaptionRow, 11>& Captions() {
    static const std::array<CaptionRow, 11> rows{{
        {&FieldOf<&QvBarCodePP::Frame1>, u"Required Parameters: ", u"Required Parameters: ",
         u"Parametros Requeridos: "},
        {&FieldOf<&QvBarCodePP::lblText>, u"Barcode Text:", u"Barcode Text:",
         u"Texto a Codificar:"},
        {&FieldOf<&QvBarCodePP::Label2>, u"Barcode Type:", u"Barcode Type:", u"Tipo de Codigo:"},
        {&FieldOf<&QvBarCodePP::Frame2>, u"Define Barcode Size or Use Default Values",
         u"Define Barcode Size or Use Default Values: ",
         u"Defina Tamaño del Codigo ó Use Tamaño Predeterminado: "},
        {&FieldOf<&QvBarCodePP::lblBarWidth>, u"Barcode Width (In Pixels):",
         u"Barcode Width (In Pixels):", u"Ancho del Codigo (En Pixeles):"},
        {&FieldOf<&QvBarCodePP::lblBarHeight>, u"Barcode Height (In Pixels):",
         u"Barcode Height (In Pixels):", u"Altura del Codigo (En Pixeles):"},
        {&FieldOf<&QvBarCodePP::chkBarWidthSource>, u"Use Default Width && Height",
         u"Use Default Width && Height.", u"Usar Ancho y Alto Predeterminado."},
        {&FieldOf<&QvBarCodePP::Frame3>, u"Extra Optional Parameters: ",
         u"Extra Optional Parameters: ", u"Parametros Opcionales: "},
        {&FieldOf<&QvBarCodePP::chkBackgroundWhite>, u"Use White Color as Background",
         u"Use White Color as Background.", u"Usar Color Blanco como Fondo."},
        {&FieldOf<&QvBarCodePP::chkShowValue>, u"Show Barcode Text", u"Show Barcode Text.",
         u"Mostrar el Texto en el Codigo."},
        {&FieldOf<&QvBarCodePP::chkCalculateCheckDigit>, u"Calculate Check Digit",
         u"Calculate Check Digit.", u"Calcular Digito Verificador."},
    }};
    return rows;
}

}  // namespace

void SetInitialCaptions(QvBarCodePP& page) {
    for (const CaptionRow& row : Captions())
        row.field(page).SetCaption(std::u16string(row.initial));
}

void SetCaptions(QvBarCodePP& page, std::string_view languageCode) {
    const bool spanish = languageCode == "S";
    for (const CaptionRow& row : Captions()) {
        row.field(page).SetCaption(std::u16string(spanish ? row.spanish : row.english));
    }
}

std::u16string_view CompleteMessage(std::string_view languageCode) {
    return languageCode == "E" ? u"Press <OK> Button to create Barcode"
                               : u"Presione <OK> Para Generar Codigo de Barras";
}

std::u16string_view IncompleteMessage(std::string_view languageCode) {
    return languageCode == "E" ? u"Please Enter ALL Required Parameters!"
                               : u"Introduzca TODOS los Parametros Requeridos!";
}

std::u16string_view AboutText() {
    return u"QvBarCode\nVersion " QV_VERSION "\nCopyright \u00A9 2026 the QvBarCode developers";
}

}  // namespace qv::propertypage
