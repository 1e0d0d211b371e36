#pragma once
// The string table: every numbered user text (UTF-8), looked up by its resource number.
// Texts without a number live beside it, one header per subsystem (app_texts.hpp, ...).

#include <string_view>

namespace zelvo {

// The text numbered id, or the empty text when no text bears that number.
std::string_view loadString(int id);

}  // namespace zelvo
