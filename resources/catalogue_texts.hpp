#pragma once
// Texts of the catalogue loader (UTF-8).

namespace zelvo::texts {

inline constexpr const char* kCannotReadFile = "Impossible de lire le fichier";
inline constexpr const char* kErrorInFile = "Erreur dans le fichier";
inline constexpr const char* kBadFormatAtLine = "Mauvais format à la ligne";

}  // namespace zelvo::texts
