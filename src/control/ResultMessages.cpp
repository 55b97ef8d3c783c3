// SPDX-License-Identifier: MIT
#include <qvbarcode/control/ResultMessages.h>

#include <array>

#include <qvbarcode/host/UserLanguage.h>
#include <qvbarcode/symbology/Encoding.h>

namespace qv::control {

namespace {

struct ResultText {
    std::int16_t code;
    std::u16string_view english;
    std::u16string_view spanish;
};

constexpr std::array<ResultText, 5> kResultTexts{{
    {symbology::kInvalidBarcodeType, u"Invalid Barcode Type",
     u"Tipo De Codigo De Barras Incorrecto"},
    {symbology::kInvalidCharacter, u"Invalid Character Found In Barcode Text",
     u"Se encontro un caracter NO Valido Contenido en el texto a Codificar"},
    {symbology::kNotEnoughWidth, u"Not Enough (Width) Space",
     u"Valor de Ancho del codigo Insuficiente"},
    {symbology::kInvalidLength, u"Invalid Expected Length Barcode Text",
     u"Longitud Esperada del texto a codificar No valida"},
    {symbology::kBlankText, u"Barcode Text can NOT be Blank",
     u"Texto a Codificar NO puede estar vacio"},
}};

}  // namespace

std::u16string_view ResultMessage(std::int16_t code, MessageLanguage language) {
    for (const ResultText& text : kResultTexts) {
        if (text.code == code) {
            return language == MessageLanguage::Spanish ? text.spanish : text.english;
        }
    }
    return {};
}

MessageLanguage MessageLanguageFor(std::string_view englishLanguageName) {
    return host::IsSpanish(englishLanguageName) ? MessageLanguage::Spanish
                                                : MessageLanguage::English;
}

}  // namespace qv::control
