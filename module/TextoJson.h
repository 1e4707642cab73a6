// JSON string literals for everything the program writes as JSON: the command line's
// liquidations and the explanation of a box.
#pragma once

#include <string>
#include <string_view>

namespace simulador {

// Appends `texto` as a JSON string literal, quotes included; control characters (C0, DEL,
// C1) escaped as \u001b, invalid UTF-8 bytes become U+FFFD.
void AnadeJson(std::string &out, std::string_view texto);

}  // namespace simulador
