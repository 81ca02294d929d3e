// Conversion between the program's Unicode strings and the single-byte Cyrillic code
// page Windows-1251, in which project files and the reference database keep their text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Unicode -> Windows-1251. A character outside the code page becomes '?'.
std::string ToCp1251(const QString& text);

// Windows-1251 -> Unicode. Every byte value maps to a character (the one unassigned
// byte, 0x98, becomes U+FFFD).
QString FromCp1251(std::string_view bytes);
