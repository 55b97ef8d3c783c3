// SPDX-License-Identifier: MIT
#include "options/UserMessages.h"

#include <array>
#include <utility>

#include <qvbarcode/host/UserLanguage.h>

namespace qv::cli {

namespace {

// English, then Spanish; without accents, as the control writes its Spanish.
constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kTexts{{
    {"%1 looks like a number the spreadsheet reformatted: format the column as text",
     "%1 parece un numero que la hoja de calculo reformateo: de formato de texto a la columna"},
    {"%1 digits given; %2 needs %3 without its check digit (-c adds it) or %4 with it",
     "%1 digitos dados; %2 necesita %3 sin su digito de control (-c lo agrega) o %4 con el"},
    {"%1 digits given and -c adds the check digit; %2 needs %3 without it or %4 with it",
     "%1 digitos dados y -c agrega el digito de control; %2 necesita %3 sin el o %4 con el"},
    {"an odd number", "un numero impar"},
    {"an even number", "un numero par"},
    {"a spreadsheet drops a number's leading zeros: format the column as text",
     "una hoja de calculo quita los ceros iniciales de un numero: de formato de texto a la "
     "columna"},
    {"'%1' is not a digit: %2 encodes the digits 0 to 9 only",
     "'%1' no es un digito: %2 codifica solo los digitos 0 a 9"},
    {"the check digit of %1 is %2, not %3", "el digito de control de %1 es %2, no %3"},
    {"--no-verify draws it as given", "--no-verify lo dibuja tal como esta"},
    {"%1 from an earlier run is left unchanged", "%1 de una ejecucion anterior queda sin cambios"},
}};
static_assert(kTexts.size() == static_cast<std::size_t>(Message::LeftUnchanged) + 1);

}  // namespace

Language UserLanguage() {
    static const Language language =
        host::IsSpanish(host::UserLanguageName()) ? Language::Spanish : Language::English;
    return language;
}

std::string Say(Message message, Language language,
                std::initializer_list<std::string_view> values) {
    const auto& [english, spanish] = kTexts[static_cast<std::size_t>(message)];
    const std::string_view text = language == Language::Spanish ? spanish : english;
    std::string said;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto n = i + 1 < text.size() && text[i] == '%'
                           ? static_cast<std::size_t>(text[i + 1] - '1')
                           : values.size();
        if (n < values.size()) {
            said += values.begin()[n];
            ++i;
        } else {
            said += text[i];
        }
    }
    return said;
}

}  // namespace qv::cli
